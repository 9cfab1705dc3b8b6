#include "tools/pack/unpacker_location.h"

#include <unistd.h>

#include <filesystem>

#include "tools/pack/file_io.h"

#ifndef VMU_UNPACKER_FROM_BINDIR
#define VMU_UNPACKER_FROM_BINDIR "../libexec/vmupdate"
#endif

namespace vmu::pack {

std::string FindUnpacker(const std::string& program_path) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(program_path).parent_path();
  const fs::path beside = folder / "vmu-unpacker";
  std::error_code ec;
  if (fs::is_regular_file(beside, ec)) return beside.string();
  return (folder / VMU_UNPACKER_FROM_BINDIR / "vmu-unpacker").lexically_normal().string();
}

std::string FindUnpacker() {
  char self[4096];
  const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) RaiseErrno("cannot find this program", "/proc/self/exe");
  return FindUnpacker(std::string(self, static_cast<std::size_t>(n)));
}

}  // namespace vmu::pack
