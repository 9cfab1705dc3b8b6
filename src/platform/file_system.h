// The file system as the logic sees it: every path is Windows-form text
// ("C:\Program Files\velmora\VM.EXE"); the host maps it onto its own files.
// Every failure raises a VbError with the number the host maps it to.
#pragma once

#include <string>
#include <vector>

namespace vmu {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // A normal file (regular, name not starting with a dot) exists at the path.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;

  // Names (without folder) of the normal files that match a pattern such as
  // "C:\x\*.*" or "C:\x\VM*.ini"; a folder path ending in a backslash lists
  // every normal file in it. Sorted without regard to case; empty when the
  // folder does not exist.
  virtual std::vector<std::string> ListFiles(const std::string& pattern) = 0;

  // Creates one folder: 75 when it exists, 76 when its parent is missing.
  virtual void MakeFolder(const std::string& path) = 0;
  // Removes an empty folder: 75 when it is not empty, 76 when it is missing.
  virtual void RemoveFolder(const std::string& path) = 0;
  // 53 when the file is missing.
  virtual void DeleteFile(const std::string& path) = 0;
  // Deletes every normal file matching the pattern; 53 when none matches.
  virtual void DeleteFiles(const std::string& pattern) = 0;
  // Renames a file; never replaces an existing target (58).
  virtual void MoveFile(const std::string& from, const std::string& to) = 0;
  // Copies a file over the target through a temporary file, keeping the
  // source's permission bits. The target is replaced whole or not at all;
  // that it has reached the disk is only certain after Flush.
  virtual void CopyFile(const std::string& from, const std::string& to) = 0;
  // Makes every file written so far durable, before work is recorded as done.
  virtual void Flush() {}
  // Lets the file be started as a program (on Windows any .exe can be).
  virtual void AllowExecution(const std::string& path) = 0;
  // Appends text (UTF-8 inside, Windows-1252 on disk) and CR LF.
  virtual void AppendLine(const std::string& path, const std::string& text) = 0;

  // The file's bytes as they stand on disk.
  virtual std::string ReadBytes(const std::string& path) = 0;
  // Replaces the file's content through a temporary file in the same folder
  // and a rename, keeping the old file's permission bits; a missing folder
  // is not created.
  virtual void ReplaceBytes(const std::string& path, const std::string& bytes) = 0;

  // The host path a Windows path maps to (for other programs and dialogs).
  virtual std::string HostPath(const std::string& path) = 0;
  // The Windows form of a host path.
  virtual std::string WindowsPath(const std::string& host_path) = 0;
};

}  // namespace vmu
