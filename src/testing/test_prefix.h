// A drive prefix for one test: drive_c inside a temporary folder, with a
// HostFileSystem over it and helpers that take Windows paths.
#pragma once

#include <memory>
#include <string>

#include "platform/host/host_file_system.h"
#include "testing/temp_dir.h"

namespace vmu::testing {

class TestPrefix {
 public:
  TestPrefix();

  const std::string& prefix() const { return dir_.path(); }
  HostFileSystem& fs() { return *fs_; }

  // Host path of a Windows path on drive C: ("C:\x\y" -> <prefix>/drive_c/x/y).
  std::string Host(const std::string& windows_path) const;
  void Write(const std::string& windows_path, const std::string& bytes);
  std::string Read(const std::string& windows_path) const;
  bool Exists(const std::string& windows_path) const;

 private:
  TempDir dir_;
  std::unique_ptr<HostFileSystem> fs_;
};

}  // namespace vmu::testing
