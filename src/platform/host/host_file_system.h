// The FileSystem on this Linux host, through a DriveMap.
#pragma once

#include <optional>

#include "platform/file_system.h"
#include "platform/host/drive_map.h"

namespace vmu {

class HostFileSystem : public FileSystem {
 public:
  explicit HostFileSystem(DriveMap map) : map_(std::move(map)) {}

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool IsLink(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& pattern) override;
  void MakeFolder(const std::string& path) override;
  void RemoveFolder(const std::string& path) override;
  void DeleteFile(const std::string& path) override;
  void MoveFile(const std::string& from, const std::string& to) override;
  void CopyFile(const std::string& from, const std::string& to) override;
  bool LinkFile(const std::string& from, const std::string& to) override;
  void PlaceFile(const std::string& from, const std::string& to, int mode, const std::string& identity) override;
  void SyncFile(const std::string& path) override;
  void SyncFiles(const std::vector<std::string>& paths) override;
  void SyncFolder(const std::string& folder) override;
  int FileMode(const std::string& path) override;
  void SetFileMode(const std::string& path, int mode) override;
  std::uint64_t FileSize(const std::string& path) override;
  std::uint64_t FreeSpace(const std::string& folder) override;
  std::string VolumeOf(const std::string& folder) override;
  std::vector<std::string> ListTemporaryFiles(const std::string& folder) override;
  void AllowExecution(const std::string& path) override;
  void AppendLine(const std::string& path, const std::string& text) override;
  std::string ReadBytes(const std::string& path) override;
  void ReplaceBytes(const std::string& path, const std::string& bytes) override;
  std::string HostPath(const std::string& path) override;
  std::string WindowsPath(const std::string& host_path) override;

  const DriveMap& map() const { return map_; }

  // Makes FreeSpace answer this many bytes everywhere, for sessions that
  // show what a full disk does without filling one.
  void PretendFreeSpace(std::uint64_t bytes) { pretended_free_ = bytes; }

 private:
  DriveMap map_;
  std::optional<std::uint64_t> pretended_free_;
};

// Windows wildcard match ("*.*" matches every name), without regard to case.
bool WildcardMatch(const std::string& pattern, const std::string& name);

// The VbError number for a failed host call (errno), for the given path.
int ErrorNumberForErrno(int err, const std::string& host_path);

}  // namespace vmu
