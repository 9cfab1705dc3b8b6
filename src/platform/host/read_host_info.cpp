#include "platform/host/read_host_info.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace vmu {

HostInfo CurrentHostInfo(FileSystem& fs, const char* argv0) {
  HostInfo info;
  if (const char* user = std::getenv("USER"); user && *user) info.user_name = user;
  std::filesystem::path self = argv0 ? argv0 : "VM_Update";
  info.exe_name = self.stem().string();
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(self, ec);
  info.exe_folder = fs.WindowsPath(exe.parent_path().string());
  if (info.exe_folder.size() > 3 && info.exe_folder.back() == '\\') info.exe_folder.pop_back();
  return info;
}

}  // namespace vmu
