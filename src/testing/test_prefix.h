// A drive prefix for one test: drive_c inside a temporary folder, with a
// HostFileSystem over it and helpers that take Windows paths.
#pragma once

#include <memory>
#include <string>

#include "platform/host/host_file_system.h"
#include "testing/temp_dir.h"

namespace vmu::testing {

// Files by Windows path, for a prefix whose Host() maps them onto the host.
template <class Prefix>
class WindowsFiles {
 public:
  void Write(const std::string& path, const std::string& bytes) { WriteHostFile(Self().Host(path), bytes); }
  std::string Read(const std::string& path) const { return ReadHostFile(Self().Host(path)); }
  bool Exists(const std::string& path) const { return HostExists(Self().Host(path)); }

 private:
  const Prefix& Self() const { return static_cast<const Prefix&>(*this); }
};

class TestPrefix : public WindowsFiles<TestPrefix> {
 public:
  TestPrefix();

  const std::string& prefix() const { return dir_.path(); }
  HostFileSystem& fs() { return *fs_; }

  // Host path of a Windows path on drive C: ("C:\x\y" -> <prefix>/drive_c/x/y).
  std::string Host(const std::string& windows_path) const;

 private:
  TempDir dir_;
  std::unique_ptr<HostFileSystem> fs_;
};

}  // namespace vmu::testing
