#include "files/restore_backups.h"

#include <set>

#include "files/backup_folders.h"
#include "files/backup_record.h"
#include "files/checksum.h"
#include "files/conversion_log.h"
#include "files/delete_files.h"
#include "files/utility.h"
#include "files/version_update.h"
#include "platform/error.h"

namespace vmu {

namespace {

// The record goes with the backups it describes: after an installation is
// undone, its backups and the record go (with backups and no record, a
// roll-back would take them for an older wizard's and lower the counter).
void PutRecordBack(FileSystem& fs, const UpdateJournal& journal, bool files_changed) {
  if (journal.record == kRecordNone && files_changed) {
    std::set<std::string> folders;
    for (const JournalFile& f : journal.replaced) {
      if (!fs.FileExists(f.backup)) continue;
      fs.DeleteFile(f.backup);
      folders.insert(DirectoryOfPath(f.backup));
    }
    for (const std::string& folder : folders) fs.SyncFolder(folder);
  }
  if (journal.record == kRecordNone) RemoveBackupRecord(fs, journal.data_dir);
  if (journal.record != kRecordWritten) return;
  const BackupRecord wanted{journal.version_update, journal.added};
  const std::string path = journal.data_dir + kBackupRecordName;
  if (!fs.FileExists(path) || fs.ReadBytes(path) != BackupRecordText(wanted))
    WriteBackupRecord(fs, journal.data_dir, wanted);
}

}  // namespace

void RestoreFromJournal(RunContext& ctx, const UpdateJournal& journal, std::string& file) {
  FileSystem& fs = ctx.fs;
  std::set<std::string> folders;
  // Before its backup folders were emptied, an installation changed nothing;
  // what they hold then may be an older installation's.
  const bool files_changed = journal.kind != kInstallKind || journal.phase == kPhaseFiles;
  if (files_changed) {
    for (const JournalFile& f : journal.replaced) {
      file = FileNameOfPath(f.target);
      if (!fs.FileExists(f.backup)) {
        // Not reached (or its name lost to a power cut): then the installed
        // file must still be the old one.
        if (fs.FileExists(f.target) && Checksum(fs.ReadBytes(f.target)) == f.check) continue;
        Raise(kFileNotFound);
      }
      if (Checksum(fs.ReadBytes(f.backup)) != f.check) throw VbError(kTypeMismatch, "de reservekopie is beschadigd");
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
  PutRecordBack(fs, journal, files_changed);
  FlushLog(ctx);
  RemoveJournal(fs, journal.data_dir);
}

void RemoveLeftovers(RunContext& ctx, const UpdateJournal& journal) {
  const std::string& data = journal.data_dir;
  for (const std::string& folder :
       {journal.program_dir, data, BackupFolder(data, 1), BackupFolder(data, 2), data + "Update\\"}) {
    if (!folder.empty()) RemoveTemporaryFiles(ctx.fs, folder);
  }
}

}  // namespace vmu
