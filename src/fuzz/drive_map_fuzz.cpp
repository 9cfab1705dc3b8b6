// Windows paths mapped onto the host in a small Wine prefix: a path on a
// drive never leaves that drive's folder, whatever its ".." and odd
// characters, and maps back onto the same drive.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/error.h"
#include "platform/host/drive_map.h"

namespace fs = std::filesystem;
using vmu::fuzz::Require;

namespace {

// C: is drive_c; D: a link in dosdevices; Z: the host root.
const std::string& Prefix() {
  static const std::string prefix = [] {
    std::string pattern = (fs::temp_directory_path() / "vmu-drive-fuzz-XXXXXX").string();
    Require(::mkdtemp(pattern.data()) != nullptr, "a prefix folder is made");
    fs::create_directories(pattern + "/drive_c/Program Files/velmora");
    fs::create_directories(pattern + "/drive_c/users/anna/Documents");
    fs::create_directories(pattern + "/drive_d/Data");
    fs::create_directories(pattern + "/dosdevices");
    fs::create_directory_symlink("../drive_d", pattern + "/dosdevices/d:");
    fs::create_directory_symlink("/", pattern + "/drive_c/outside");
    return pattern;
  }();
  return prefix;
}

bool Inside(const std::string& path, const std::string& root) {
  if (root == "/") return !path.empty() && path[0] == '/';
  return path == root || path.compare(0, root.size() + 1, root + "/") == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1024) return 0;
  const std::string windows(vmu::fuzz::Bytes(data, size));
  static const vmu::DriveMap map(Prefix());
  std::string host;
  try {
    host = map.ToHost(windows);
  } catch (const vmu::VbError&) {
    return 0;
  }
  for (const auto& part : fs::path(host)) Require(part != "..", "no \"..\" is left in a host path");
  if (windows.size() < 2 || windows[1] != ':') return 0;
  const char drive = static_cast<char>(windows[0] & ~0x20);
  const std::string root = drive == 'C' ? Prefix() + "/drive_c" : drive == 'D' ? Prefix() + "/drive_d" : "/";
  Require(Inside(host, root), "the host path stays on its drive");
  if (drive == 'C' || drive == 'D') {
    const std::string back = map.ToWindows(host);
    Require(back.size() >= 2 && back[0] == drive && back[1] == ':', "the host path maps back onto its drive");
  }
  return 0;
}
