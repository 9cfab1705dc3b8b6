// What the backup folders ConversieBackup-1 and -2 undo, beside the files
// they hold: the "VersionUpdate" the installation replaced and the files it
// added. Kept in DataDir & "ConversieBackup.ini", so that a roll-back puts
// exactly that counter back however often it runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "files/run_context.h"

namespace vmu {

inline constexpr const char* kBackupRecordName = "ConversieBackup.ini";

struct BackupRecord {
  std::string version_update;
  std::vector<std::string> added;
  bool operator==(const BackupRecord&) const = default;
};

// The record's bytes, ending with their checksum, and back; parsing raises
// 13 naming the first line that is not as written (a VersionUpdate that is
// not a number among them).
std::string BackupRecordText(const BackupRecord& record);
BackupRecord ParseBackupRecord(const std::string& bytes);

// The record of the data folder, when one is there; raises 13 naming the
// line of an added file outside the program and data folders.
std::optional<BackupRecord> ReadBackupRecord(FileSystem& fs, const FolderSettings& folders);
// Written whole and durable; raises when it cannot be.
void WriteBackupRecord(FileSystem& fs, const std::string& data_dir, const BackupRecord& record);
// Removed and flushed.
void RemoveBackupRecord(FileSystem& fs, const std::string& data_dir);

}  // namespace vmu
