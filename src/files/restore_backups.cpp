#include "files/restore_backups.h"

#include <set>

#include "files/backup_folders.h"
#include "files/conversion_log.h"
#include "files/utility.h"
#include "files/version_update.h"

namespace vmu {

void RestoreFromJournal(RunContext& ctx, const UpdateJournal& journal, std::string& file) {
  FileSystem& fs = ctx.fs;
  std::set<std::string> folders;
  // Before its backup folders were emptied, an installation changed nothing;
  // what they hold then may be an older installation's.
  const bool files_changed = journal.kind != kInstallKind || journal.phase == kPhaseFiles;
  if (files_changed) {
    for (const JournalFile& f : journal.replaced) {
      if (!fs.FileExists(f.backup)) continue;  // not reached: the installed file is still the old one
      file = FileNameOfPath(f.target);
      LogText(ctx, "Verwijderen " + f.target);
      LogText(ctx, "Kopiëren " + f.backup + " naar " + f.target);
      fs.CopyFile(f.backup, f.target);
      fs.SetFileMode(f.target, f.mode);
      fs.SyncFile(f.target);
      folders.insert(DirectoryOfPath(f.target));
    }
  }
  for (const std::string& added : journal.added) {
    if (!fs.FileExists(added)) continue;
    file = FileNameOfPath(added);
    LogText(ctx, "Verwijderen " + added);
    fs.DeleteFile(added);
    folders.insert(DirectoryOfPath(added));
  }
  file.clear();
  for (const std::string& folder : folders) fs.SyncFolder(folder);
  if (!journal.version_update.empty() && ReadVersionUpdate(fs, journal.data_dir) != journal.version_update)
    WriteVersionUpdate(fs, journal.data_dir, journal.version_update);
  RemoveJournal(fs, journal.data_dir);
}

void RemoveLeftovers(RunContext& ctx, const UpdateJournal& journal) {
  const std::string& data = journal.data_dir;
  for (const std::string& folder :
       {journal.program_dir, data, BackupFolder(data, 1), BackupFolder(data, 2), data + "Update\\"}) {
    if (!folder.empty()) ctx.fs.RemoveTemporaryFiles(folder);
  }
}

}  // namespace vmu
