// The file system as the logic sees it: every path is Windows-form text
// ("C:\Program Files\velmora\VM.EXE"); the host maps it onto its own files.
// Every failure raises a VbError with the number the host maps it to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vmu {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // A normal file (regular, name not starting with a dot) exists at the path.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // The path's last component is a symbolic link (to anything, or to
  // nothing); false when it is missing.
  virtual bool IsLink(const std::string& path) = 0;

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
  // Renames a file; never replaces an existing target (58).
  virtual void MoveFile(const std::string& from, const std::string& to) = 0;
  // Copies a file over the target through a temporary file, keeping the
  // source's permission bits. The target is replaced whole or not at all;
  // that it has reached the disk is only certain after SyncFile and SyncFolder.
  virtual void CopyFile(const std::string& from, const std::string& to) = 0;
  // CopyFile for a source that is removed afterwards and never written
  // again, with permission bits `mode` (0777 at most) for the target: where
  // both names lie on one file system and nothing else names the source,
  // the target becomes that very file (a hard link) and no byte is copied.
  // Until the source is removed a change through either name shows through
  // both. A non-empty `identity` (FileIdentityText) is the file the source
  // must still be, as an earlier check read it: when it is not, 75 and
  // nothing changes. A file system that cannot tell takes it on trust.
  virtual void PlaceFile(const std::string& from, const std::string& to, int mode, const std::string& identity) {
    static_cast<void>(identity);
    CopyFile(from, to);
    SetFileMode(to, mode);
  }

  // Gives an existing file a second name (a hard link), so that the same
  // bytes stay reachable under both; the file itself is never touched.
  // False, with nothing changed, where that cannot be: the names lie on
  // different file systems or the file system has no links. 58 when the new
  // name exists, 53/76 when the file or the new name's folder is missing,
  // 61 when the folder cannot grow. The new name is durable after SyncFolder
  // of its folder.
  virtual bool LinkFile(const std::string& from, const std::string& to) = 0;
  // Makes the file's content durable (fsync): 53 when it is missing, 61 or
  // 75 when the disk cannot take it. Its name is durable only after
  // SyncFolder of its folder.
  virtual void SyncFile(const std::string& path) = 0;
  // SyncFile of each, in order, with the same errors: the first that fails
  // raises and leaves the rest unflushed. Where it can, the file system
  // starts writing them all before it waits for any, so that one journal
  // commit can carry the batch.
  virtual void SyncFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) SyncFile(path);
  }
  // Makes the folder's names durable: files created, renamed into or
  // removed from it (fsync of the folder). 76 when it is missing, 75 when
  // the disk fails.
  virtual void SyncFolder(const std::string& folder) = 0;
  // The file's permission bits (owner, group, others: 0777 at most); 53 when
  // it is missing.
  virtual int FileMode(const std::string& path) = 0;
  // Sets the permission bits at once (durable with the file's next
  // SyncFile); 53 when missing, 70 when the file is not ours to change.
  virtual void SetFileMode(const std::string& path, int mode) = 0;
  // The file's size in bytes; 53 when it is missing.
  virtual std::uint64_t FileSize(const std::string& path) = 0;
  // Bytes this user may still write on the file system that holds the
  // folder (or, for a folder that does not exist yet, its nearest existing
  // parent); 76 when no parent exists.
  virtual std::uint64_t FreeSpace(const std::string& folder) = 0;
  // Text that is equal for two folders exactly when they lie on one file
  // system (where a file can be linked or renamed from one to the other);
  // measured like FreeSpace.
  virtual std::string VolumeOf(const std::string& folder) = 0;
  // Names (without folder) of the temporary files that an interrupted copy
  // or write (a killed process, a power cut) left behind in the folder, which
  // ListFiles never shows; empty when there are none or the folder is
  // missing. Files of running writes are the caller's to avoid.
  virtual std::vector<std::string> ListTemporaryFiles(const std::string& folder) = 0;
  // Lets the file be started as a program (on Windows any .exe can be).
  virtual void AllowExecution(const std::string& path) = 0;
  // Appends text (UTF-8 inside, Windows-1252 on disk) and CR LF.
  virtual void AppendLine(const std::string& path, const std::string& text) = 0;

  // The file's bytes as they stand on disk.
  virtual std::string ReadBytes(const std::string& path) = 0;
  // Replaces the file's content through a temporary file in the same folder
  // and a rename, keeping the old file's permission bits; a missing folder
  // is not created. Durable, content and name, when it returns.
  virtual void ReplaceBytes(const std::string& path, const std::string& bytes) = 0;

  // The host path a Windows path maps to (for other programs and dialogs).
  virtual std::string HostPath(const std::string& path) = 0;
  // The Windows form of a host path.
  virtual std::string WindowsPath(const std::string& host_path) = 0;
};

}  // namespace vmu
