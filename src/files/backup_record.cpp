#include "files/backup_record.h"

#include "files/utility.h"
#include "platform/text_encoding.h"

namespace vmu {

namespace {

constexpr const char* kSection = "Terugdraaien";

std::string RecordPath(const std::string& data_dir) { return data_dir + kBackupRecordName; }

}  // namespace

std::optional<BackupRecord> ReadBackupRecord(FileSystem& fs, const std::string& data_dir) {
  const std::string path = RecordPath(data_dir);
  if (!fs.FileExists(path)) return std::nullopt;
  BackupRecord record;
  record.version_update = ReadIniRaw(fs, path, kSection, "VersionUpdate", "");
  if (record.version_update.empty()) return std::nullopt;
  for (int n = 1;; ++n) {
    const std::string added = ReadIniRaw(fs, path, kSection, "Toegevoegd" + std::to_string(n), "");
    if (added.empty()) break;
    record.added.push_back(added);
  }
  return record;
}

void WriteBackupRecord(FileSystem& fs, const std::string& data_dir, const BackupRecord& record) {
  std::string text = std::string("[") + kSection + "]\r\nVersionUpdate=" + record.version_update + "\r\n";
  for (std::size_t i = 0; i < record.added.size(); ++i)
    text += "Toegevoegd" + std::to_string(i + 1) + "=" + record.added[i] + "\r\n";
  fs.ReplaceBytes(RecordPath(data_dir), Utf8ToCp1252(text));
}

void RemoveBackupRecord(FileSystem& fs, const std::string& data_dir) {
  if (fs.FileExists(RecordPath(data_dir))) fs.DeleteFile(RecordPath(data_dir));
}

}  // namespace vmu
