#include "platform/host/read_host_info.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/prefix_folders.h"
#include "platform/wine_registry.h"

namespace vmu {

namespace {

// Wine's own choice: USER when set, else the account's name.
std::string UserName() {
  if (const char* user = std::getenv("USER"); user && *user) return user;
  if (const passwd* account = ::getpwuid(::getuid()); account && account->pw_name && *account->pw_name)
    return account->pw_name;
  return "user";
}

// Parses the registry file; false when there is none to read.
bool ReadRegistryFile(const std::string& path, WineRegistry& registry) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  registry = ParseWineRegistry(text.str());
  return true;
}

}  // namespace

PrefixFolders ReadPrefixFolders(const std::string& prefix) {
  WineRegistry user, system;
  const bool has_user = ReadRegistryFile(prefix + "/user.reg", user);
  const bool has_system = ReadRegistryFile(prefix + "/system.reg", system);
  if (!has_user && !has_system) return {};
  return PrefixFoldersFromRegistry(user, system);
}

HostInfo CurrentHostInfo(HostFileSystem& fs, const char* argv0) {
  HostInfo info;
  info.user_name = UserName();
  const std::string& prefix = fs.map().prefix();
  info.prefix_folders = ReadPrefixFolders(prefix);
  std::error_code missing;
  if (!std::filesystem::is_directory(prefix + "/dosdevices", missing) &&
      !std::filesystem::is_directory(prefix + "/drive_c", missing))
    info.prefix_without_drives = prefix;
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
