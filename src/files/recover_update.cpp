#include "files/recover_update.h"

#include "files/conversion_log.h"
#include "files/old_database_copy_name.h"
#include "files/restore_backups.h"
#include "files/update_journal.h"
#include "platform/error.h"

namespace vmu {

namespace {

// A crash before the journal was written (while the package unpacked, or
// while the manifest got its defaults) leaves only temporary files behind.
// They would make later clean-ups of Update\ fail; nobody else makes them.
void RemoveStrayTemporaries(RunContext& ctx) {
  UpdateJournal folders;
  folders.program_dir = ctx.folders.ProgramDir;
  folders.data_dir = ctx.folders.DataDir;
  try {
    RemoveLeftovers(ctx, folders);
  } catch (const VbError&) {
    // One that stays does no harm to the installation; the next start tries again.
  }
}

}  // namespace

Recovery RecoverInterruptedUpdate(RunContext& ctx, Dialogs& dialogs) {
  const std::string& data_dir = ctx.folders.DataDir;
  if (data_dir.empty()) return Recovery::NothingPending;
  RemoveOldDatabaseCopies(ctx);  // a conversion's copy of a Jet database
  if (!ctx.fs.FileExists(JournalPath(data_dir))) {
    RemoveStrayTemporaries(ctx);
    return Recovery::NothingPending;
  }
  std::string file = kJournalFileName;  // the file being handled, for the message
  try {
    LogText(ctx, std::string(kCrLf) + "*******************" + kCrLf + "Herstellen onderbroken update");
    const UpdateJournal journal = ParseJournal(ctx.fs.ReadBytes(JournalPath(data_dir)));
    LogText(ctx, "Journaal: " + journal.kind + " van " + journal.package + ", fase " + journal.phase);
    file.clear();
    RemoveLeftovers(ctx, journal);
    RestoreFromJournal(ctx, journal, file);
    LogText(ctx, "Herstel voltooid, VersionUpdate " + journal.version_update);
  } catch (const VbError& e) {
    LogTextIfPossible(ctx, "FOUT " + std::to_string(e.number()) + " - " + e.description());
    MessageBoxSpec message;
    message.icon = Icon::Exclamation;
    message.text = std::string("De vorige update is onderbroken en kon niet worden teruggezet.") + kCrLf +
                   "Het bestand " + (file.empty() ? std::string("VM.ini") : file) + " kon niet worden hersteld (" +
                   e.description() + ")." + kCrLf + kCrLf +
                   "Sluit Velmora af of start uw computer opnieuw op, en start daarna het update programma opnieuw. "
                   "Uw vorige bestanden blijven bewaard.";
    dialogs.ShowMessage(message);
    return Recovery::Failed;
  }
  MessageBoxSpec message;
  message.icon = Icon::Information;
  message.text = std::string(
                     "De vorige update is onderbroken. Velmora is teruggezet naar de versie van voor die "
                     "update.") +
                 kCrLf + kCrLf + "U kunt de update opnieuw uitvoeren.";
  dialogs.ShowMessage(message);
  return Recovery::Restored;
}

bool UpdateUnfinished(RunContext& ctx) {
  const std::string& data_dir = ctx.folders.DataDir;
  return !data_dir.empty() && ctx.fs.FileExists(JournalPath(data_dir));
}

std::string UnfinishedUpdateText() {
  return std::string(
      "De vorige update is onderbroken en is nog niet teruggezet. Sluit Velmora af of start uw "
      "computer opnieuw op, en start daarna het update programma opnieuw.");
}

}  // namespace vmu
