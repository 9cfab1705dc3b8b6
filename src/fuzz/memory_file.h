// A file system of one file held in memory, for the harnesses that read and
// write INI files through the program's own calls. Everything else fails as
// a missing path does.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"

namespace vmu::fuzz {

class MemoryFile : public FileSystem {
 public:
  MemoryFile(std::string path, std::string bytes) : path_(std::move(path)), bytes_(std::move(bytes)) {}
  const std::string& bytes() const { return bytes_; }

  std::string ReadBytes(const std::string& path) override {
    if (path != path_) Raise(kFileNotFound);
    return bytes_;
  }
  void ReplaceBytes(const std::string& path, const std::string& bytes) override {
    if (path != path_) Raise(kPathNotFound);
    bytes_ = bytes;
  }
  bool FileExists(const std::string& path) override { return path == path_; }
  bool FolderExists(const std::string&) override { return false; }
  bool IsLink(const std::string&) override { return false; }
  std::vector<std::string> ListFiles(const std::string&) override { return {}; }
  void MakeFolder(const std::string&) override { Raise(kPathNotFound); }
  void RemoveFolder(const std::string&) override { Raise(kPathNotFound); }
  void DeleteFile(const std::string&) override { Raise(kFileNotFound); }
  void MoveFile(const std::string&, const std::string&) override { Raise(kFileNotFound); }
  void CopyFile(const std::string&, const std::string&) override { Raise(kFileNotFound); }
  bool LinkFile(const std::string&, const std::string&) override { Raise(kFileNotFound); }
  void SyncFile(const std::string& path) override {
    if (path != path_) Raise(kFileNotFound);
  }
  void SyncFolder(const std::string&) override {}
  int FileMode(const std::string&) override { Raise(kFileNotFound); }
  void SetFileMode(const std::string&, int) override { Raise(kFileNotFound); }
  std::uint64_t FileSize(const std::string& path) override {
    if (path != path_) Raise(kFileNotFound);
    return bytes_.size();
  }
  std::uint64_t FreeSpace(const std::string&) override { return 0; }
  std::string VolumeOf(const std::string&) override { return ""; }
  std::vector<std::string> ListTemporaryFiles(const std::string&) override { return {}; }
  void AllowExecution(const std::string&) override { Raise(kFileNotFound); }
  void AppendLine(const std::string&, const std::string&) override { Raise(kPathNotFound); }
  std::string HostPath(const std::string& path) override { return path; }
  std::string WindowsPath(const std::string& host_path) override { return host_path; }

 private:
  std::string path_;
  std::string bytes_;
};

}  // namespace vmu::fuzz
