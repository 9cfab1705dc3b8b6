// A package of any bytes, unpacked: what the unpacker writes stays in its
// target folder as plain files, and a refused package writes nothing. The
// input is taken as the zip part of a package; it is unpacked as it stands
// (the seal refuses nearly all of it) and once more after vmu-pack's own
// sealing, so that the archive reader is reached behind the seal.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_check.h"
#include "tools/pack/file_io.h"
#include "tools/pack/package_format.h"
#include "tools/pack/unpack.h"

namespace fs = std::filesystem;
using vmu::fuzz::Require;

namespace {

const std::string& Base() {
  static const std::string base = [] {
    std::string pattern = (fs::temp_directory_path() / "vmu-package-fuzz-XXXXXX").string();
    Require(::mkdtemp(pattern.data()) != nullptr, "a work folder is made");
    return pattern;
  }();
  return base;
}

// Unpacks and checks where the files went.
void UnpackAndCheck(const std::string& package, const std::string& target) {
  bool refused = false;
  try {
    vmu::pack::UnpackPackage(package, target);
  } catch (const vmu::pack::PackError&) {
    refused = true;
  }
  for (const fs::directory_entry& item : fs::directory_iterator(Base())) {
    const std::string name = item.path().filename().string();
    Require(name == "p.VMU" || name == "target", "nothing is written beside the target folder");
  }
  if (!fs::exists(target)) return;
  for (const fs::directory_entry& item : fs::directory_iterator(target)) {
    Require(!refused, "a refused package leaves no file behind");
    Require(item.is_regular_file() && !item.is_symlink(), "only plain files land in the target folder");
  }
  fs::remove_all(target);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string package = Base() + "/p.VMU", target = Base() + "/target";
  {
    vmu::pack::UniqueFd fd(::open(package.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    Require(fd.get() >= 0 && ::write(fd.get(), data, size) == static_cast<ssize_t>(size), "the package is written");
  }
  UnpackAndCheck(package, target);
  bool sealed = true;
  try {
    vmu::pack::UniqueFd fd(::open(package.c_str(), O_RDWR | O_CLOEXEC));
    vmu::pack::SealArchive(fd.get(), 0, package);
  } catch (const vmu::pack::PackError&) {
    sealed = false;
  }
  if (sealed) UnpackAndCheck(package, target);
  return 0;
}
