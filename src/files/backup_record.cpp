#include "files/backup_record.h"

#include "files/checksum.h"
#include "files/trusted_paths.h"
#include "files/utility.h"
#include "platform/error.h"
#include "platform/text_encoding.h"

namespace vmu {

namespace {

constexpr const char* kSection = "[Terugdraaien]";
constexpr const char* kCheckKey = "Controle";

std::string RecordPath(const std::string& data_dir) { return data_dir + kBackupRecordName; }

}  // namespace

std::string BackupRecordText(const BackupRecord& record) {
  std::string text = std::string(kSection) + "\r\nVersionUpdate=" + record.version_update + "\r\n";
  for (std::size_t i = 0; i < record.added.size(); ++i)
    text += "Toegevoegd" + std::to_string(i + 1) + "=" + record.added[i] + "\r\n";
  const std::string bytes = Utf8ToCp1252(text);
  return bytes + ChecksumLine(bytes, kCheckKey);
}

// Once through the bytes: the lines must be exactly those written.
BackupRecord ParseBackupRecord(const std::string& bytes) {
  const std::string text = Cp1252ToUtf8(std::string(CheckedBody(bytes, kCheckKey)));
  BackupRecord record;
  int number = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    const std::string line = text.substr(start, end - start);
    start = end == std::string::npos ? text.size() : end + 2;
    ++number;
    const std::string key = line.substr(0, line.find('='));
    const std::string value = key.size() < line.size() ? line.substr(key.size() + 1) : "";
    bool fits = end != std::string::npos;
    if (number == 1) fits = fits && line == kSection;
    else if (number == 2) {
      fits = fits && key == "VersionUpdate";
      try {
        fits = fits && std::to_string(ToInt32(value)) == value;
      } catch (const VbError&) {
        fits = false;
      }
      record.version_update = value;
    } else {
      fits = fits && key == "Toegevoegd" + std::to_string(number - 2) && !value.empty();
      record.added.push_back(value);
    }
    if (!fits) RefuseLine(number, line);
  }
  if (number < 2) RefuseLine(number + 1, "einde van het bestand");
  return record;
}

std::optional<BackupRecord> ReadBackupRecord(FileSystem& fs, const FolderSettings& folders) {
  const std::string path = RecordPath(folders.DataDir);
  if (!fs.FileExists(path)) return std::nullopt;
  RefuseLink(fs, path);
  BackupRecord record = ParseBackupRecord(fs.ReadBytes(path));
  const std::vector<std::string> installed = {folders.ProgramDir, folders.DataDir};
  for (std::size_t i = 0; i < record.added.size(); ++i)
    if (!InOneOf(fs, record.added[i], installed))
      RefuseLine(static_cast<int>(i) + 3, "Toegevoegd" + std::to_string(i + 1) + "=" + record.added[i]);
  return record;
}

void WriteBackupRecord(FileSystem& fs, const std::string& data_dir, const BackupRecord& record) {
  RefuseLink(fs, RecordPath(data_dir));
  fs.ReplaceBytes(RecordPath(data_dir), BackupRecordText(record));
}

void RemoveBackupRecord(FileSystem& fs, const std::string& data_dir) {
  RefuseLink(fs, RecordPath(data_dir));
  if (!fs.FileExists(RecordPath(data_dir))) return;
  fs.DeleteFile(RecordPath(data_dir));
  fs.SyncFolder(data_dir);
}

}  // namespace vmu
