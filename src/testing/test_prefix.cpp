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

void TestPrefix::Write(const std::string& windows_path, const std::string& bytes) {
  WriteHostFile(Host(windows_path), bytes);
}

std::string TestPrefix::Read(const std::string& windows_path) const { return ReadHostFile(Host(windows_path)); }

bool TestPrefix::Exists(const std::string& windows_path) const { return HostExists(Host(windows_path)); }

}  // namespace vmu::testing
