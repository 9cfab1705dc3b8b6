#include "startup/mdl_check_app_files.h"

#include <array>
#include <string>
#include <vector>

#include "files/same_text.h"
#include "files/utility.h"

namespace vmu {

namespace {

enum class BackupRole { Listed, Removed, NotTouched };

struct AppFile {
  const char* name;
  bool required;
  BackupRole backup;
};

// The order is the order in which the files are looked for and in which
// missing entries are added to the backup list.
constexpr std::array<AppFile, kAppFileCount> kAppFiles = {{
    {"VM_DBv01.mdb", true, BackupRole::Listed},
    {"RptDB97.mdb", true, BackupRole::Listed},
    {"screens.ini", false, BackupRole::Listed},
    {"VMbackuptool.ini", false, BackupRole::Listed},
    {"Factuur.ini", false, BackupRole::Listed},
    {"VM.ini", false, BackupRole::Listed},
    {"Update.ini", false, BackupRole::NotTouched},  // our own settings
    {"sourcesBus.VMD", false, BackupRole::Removed},
    {"sourcesMed.VMD", false, BackupRole::Removed},
    {"VM_sources.VMD", false, BackupRole::Listed},
}};

const AppFile* Entry(int position) {
  if (position < 1 || position > kAppFileCount) return nullptr;
  return &kAppFiles[static_cast<std::size_t>(position - 1)];
}

constexpr const char* kBasicSettings = "Basic settings";
constexpr const char* kCountKey = "AantalFiles";
constexpr const char* kFilesSection = "Backupfiles";

// The application's own list holds a few dozen files. A larger count is a
// damaged list; without a limit, every entry would be read (and a missing one
// written back) through its own pass over a file that keeps growing.
constexpr int kBackupListLimit = 1000;

std::string EntryKey(int n) { return "BackUpfile" + std::to_string(n); }

// An entry left empty (or a lone backslash) by a damaged list names no file.
bool NamesFile(const std::string& entry, const std::string& file_name) {
  if (entry.empty() || entry == "\\") return false;
  return SameText(FileNameOfPath(entry), file_name);
}

}  // namespace

std::string AppFileName(int position) {
  const AppFile* file = Entry(position);
  return file ? file->name : "";
}

bool IsRequiredAppFile(int position) {
  const AppFile* file = Entry(position);
  return file && file->required;
}

bool IsMigratedAppFile(int position) {
  const AppFile* file = Entry(position);
  return file && file->backup != BackupRole::Removed;
}

bool IsRemovedAppFile(int position) {
  const AppFile* file = Entry(position);
  return file && file->backup == BackupRole::Removed;
}

int CheckMissingAppFile(Dialogs& dialogs, int position) {
  if (!IsRequiredAppFile(position)) return 2;
  MessageBoxSpec message;
  message.text = std::string("De programma database kan niet gevonden worden") + kCrLf +
                 "Controleer of Velmora op deze computer is geïnstalleerd en minstens één keer "
                 "is gestart. Is de database verloren gegaan, zet dan de laatste backup van uw "
                 "gegevens terug met de backupfunctie van Velmora. Lukt dit niet, neem dan "
                 "contact op met uw leverancier.";
  message.icon = Icon::Critical;
  dialogs.ShowMessage(message);
  return 1;
}

void RegisterBackupFiles(RunContext& ctx, const std::string& data_folder, const std::string& backup_list_path) {
  const std::string& f = backup_list_path;
  int count = ToInt16(ReadIni(ctx, kBasicSettings, kCountKey, "0", f));
  if (count < 0) count = 0;
  if (count > kBackupListLimit) count = kBackupListLimit;

  // entries[n] is "BackUpfile" n; index 0 is unused.
  std::vector<std::string> entries(static_cast<std::size_t>(count) + 1);
  for (int n = 1; n <= count; ++n) entries[n] = ReadIni(ctx, kFilesSection, EntryKey(n), "", f);

  for (int position = 1; position <= kAppFileCount; ++position) {
    const AppFile& file = kAppFiles[static_cast<std::size_t>(position - 1)];
    if (file.backup == BackupRole::NotTouched) continue;

    int found = 0;
    for (int n = 1; n <= count && found == 0; ++n)
      if (NamesFile(entries[n], file.name)) found = n;

    const std::string wanted = data_folder + file.name;
    if (file.backup == BackupRole::Listed) {
      if (found == 0) {
        ++count;
        entries.push_back(wanted);
        WriteIni(ctx.fs, f, kFilesSection, EntryKey(count), wanted);
      } else if (!SameText(entries[found], wanted)) {
        // Memory follows the file, so that a later shift moves the new path.
        entries[found] = wanted;
        WriteIni(ctx.fs, f, kFilesSection, EntryKey(found), wanted);
      }
    } else if (found != 0) {
      for (int m = found + 1; m <= count; ++m) {
        WriteIni(ctx.fs, f, kFilesSection, EntryKey(m - 1), entries[m]);
        entries[m - 1] = entries[m];
      }
      WriteIni(ctx.fs, f, kFilesSection, EntryKey(count), "");
      entries.pop_back();
      --count;
    }
  }

  WriteIni(ctx.fs, f, kBasicSettings, kCountKey, std::to_string(count));
}

}  // namespace vmu
