#include "testing/test_prefix.h"

#include <filesystem>

namespace vmu::testing {

TestPrefix::TestPrefix() {
  std::filesystem::create_directories(dir_.Sub("drive_c"));
  fs_ = std::make_unique<HostFileSystem>(DriveMap(dir_.path()));
}

std::string TestPrefix::Host(const std::string& windows_path) const {
  std::string rest = windows_path.substr(2);  // drop "C:"
  for (char& ch : rest)
    if (ch == '\\') ch = '/';
  return dir_.path() + "/drive_c" + rest;
}

}  // namespace vmu::testing
