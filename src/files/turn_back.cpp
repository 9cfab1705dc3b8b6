#include "files/turn_back.h"

#include <limits>

#include "files/backup_folders.h"
#include "files/backup_record.h"
#include "files/checksum.h"
#include "files/conversion_log.h"
#include "files/restore_backups.h"
#include "files/trusted_paths.h"
#include "files/update_journal.h"
#include "files/utility.h"
#include "files/version_update.h"
#include "platform/error.h"

namespace vmu {

namespace {

// The roll-back as a journal: every file of both backup folders back into
// its folder, the added files away, the recorded counter back.
UpdateJournal RollBackJournal(RunContext& ctx, std::array<std::string, 3>& backup_dir, int16_t& dir_index,
                              bool completed_installation, std::string& file) {
  FileSystem& fs = ctx.fs;
  const std::string& data_dir = ctx.folders.DataDir;
  const std::array<std::string, 3> target_dir = {"", ctx.folders.ProgramDir, data_dir};
  UpdateJournal journal;
  journal.kind = kRollBackKind;
  journal.program_dir = ctx.folders.ProgramDir;
  journal.data_dir = data_dir;
  journal.package = "laatste update, uit " + data_dir + "ConversieBackup-1\\ en -2\\";
  for (dir_index = 1; dir_index <= 2; ++dir_index) {
    backup_dir[dir_index] = BackupFolder(data_dir, dir_index);
    for (const std::string& name : fs.ListFiles(backup_dir[dir_index] + "*.*")) {
      const std::string backup = backup_dir[dir_index] + name;
      file = name;
      journal.replaced.push_back(
          {target_dir[dir_index] + name, backup, fs.FileMode(backup), Checksum(fs.ReadBytes(backup))});
    }
  }
  file.clear();
  if (!completed_installation) return journal;  // a failed installation never raised the counter

  file = kBackupRecordName;
  const std::optional<BackupRecord> record = ReadBackupRecord(fs, ctx.folders);
  file.clear();
  if (record) {
    journal.version_update = record->version_update;
    journal.added = record->added;
    journal.record = kRecordWritten;
  } else if (!journal.replaced.empty()) {
    // Backups of an older wizard, which kept no record: the installation they
    // undo raised the counter by one. Recorded by the roll-back, so that a
    // second press puts back the same value instead of lowering it again.
    const int update = ToInt32(ReadVersionUpdate(fs, data_dir));
    if (update == (std::numeric_limits<int32_t>::min)()) Raise(kOverflow);
    journal.version_update = std::to_string(update - 1);
    journal.record = kRecordWritten;
  }
  return journal;
}

}  // namespace

bool fTurnBack(RunContext& ctx, Dialogs& dialogs, std::array<std::string, 3>& backup_dir, int16_t& dir_index,
               bool completed_installation) {
  const std::string& data_dir = ctx.folders.DataDir;
  std::string file;  // the file being handled, for the message
  try {
    LogText(ctx, std::string(kCrLf) + "*******************" + kCrLf + "Terugdraaien installatie");
    RefuseOwnLinks(ctx.fs, data_dir);
    UpdateJournal journal;
    std::optional<UpdateJournal> pending;
    if (!completed_installation) pending = ReadJournal(ctx.fs, ctx.folders);
    if (pending) {
      // The automatic restore: the installation's own journal says what it changed.
      journal = *pending;
      for (dir_index = 1; dir_index <= 2; ++dir_index) backup_dir[dir_index] = BackupFolder(data_dir, dir_index);
    } else {
      journal = RollBackJournal(ctx, backup_dir, dir_index, completed_installation, file);
      FlushLog(ctx);
      WriteJournal(ctx.fs, journal);
    }
    RestoreFromJournal(ctx, journal, file);
    return true;
  } catch (const VbError& e) {
    // The journal stays: the next start finishes the work.
    LogTextIfPossible(ctx, "FOUT " + std::to_string(e.number()) + " - " + e.description());
    MessageBoxSpec message;
    message.title = "Fout bij terugzetten";
    message.icon = Icon::Exclamation;
    message.text = std::string("Fout bij het terugzetten van bestand ") + kCrLf + file + kCrLf +
                   "met omschrijving : " + e.description() + kCrLf +
                   "Dit duidt er op dat een bestand in gebruik is, het beste kunt u uw systeem "
                   "opnieuw opstarten en dan deze functie weer uit te voeren. Het is af te raden "
                   "om nu met Velmora te gaan werken";
    dialogs.ShowMessage(message);
    return false;
  }
}

}  // namespace vmu
