// What the backup folders ConversieBackup-1 and -2 undo, beside the files
// they hold: the "VersionUpdate" the installation replaced and the files it
// added. Kept in DataDir & "ConversieBackup.ini", so that a roll-back puts
// exactly that counter back however often it runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vmu {

inline constexpr const char* kBackupRecordName = "ConversieBackup.ini";

struct BackupRecord {
  std::string version_update;
  std::vector<std::string> added;
};

std::optional<BackupRecord> ReadBackupRecord(FileSystem& fs, const std::string& data_dir);
// Written whole and flushed; raises when it cannot be.
void WriteBackupRecord(FileSystem& fs, const std::string& data_dir, const BackupRecord& record);
void RemoveBackupRecord(FileSystem& fs, const std::string& data_dir);

}  // namespace vmu
