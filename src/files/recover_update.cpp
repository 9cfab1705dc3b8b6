#include "files/recover_update.h"

#include "files/conversion_log.h"
#include "files/old_database_copy_name.h"
#include "files/restore_backups.h"
#include "files/trusted_paths.h"
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

// What support needs to set a damaged journal aside.
std::string SupportText(const std::string& data_dir) {
  return "Neem contact op met uw leverancier en noem de plaats van het journaal: " + JournalPath(data_dir);
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
  std::string refused;                  // the journal's line that cannot be trusted
  try {
    LogText(ctx, std::string(kCrLf) + "*******************" + kCrLf + "Herstellen onderbroken update");
    std::optional<UpdateJournal> read;
    try {
      RefuseOwnLinks(ctx.fs, data_dir);
      read = ReadJournal(ctx.fs, ctx.folders);
    } catch (const VbError& e) {
      if (e.number() == kTypeMismatch || e.number() == kPermissionDenied) refused = e.description();
      throw;
    }
    const UpdateJournal& journal = *read;
    LogText(ctx, "Journaal: " + journal.kind + " van " + journal.package + ", fase " + journal.phase);
    file.clear();
    RemoveLeftovers(ctx, journal);
    RestoreFromJournal(ctx, journal, file);
    LogText(ctx, "Herstel voltooid, VersionUpdate " + journal.version_update);
  } catch (const VbError& e) {
    LogTextIfPossible(ctx, "FOUT " + std::to_string(e.number()) + " - " + e.description());
    MessageBoxSpec message;
    message.icon = Icon::Exclamation;
    message.text = std::string("De vorige update is onderbroken en kon niet worden teruggezet.") + kCrLf;
    if (!refused.empty()) {
      message.text += "Het journaal kan niet worden gelezen: " + refused + "." + kCrLf + kCrLf +
                      "Er is niets gewijzigd. " + SupportText(data_dir);
    } else {
      message.text += "Het bestand " + (file.empty() ? std::string("VM.ini") : file) + " kon niet worden teruggezet (" +
                      e.description() + ")." + kCrLf + kCrLf +
                      "Sluit Velmora af of start uw computer opnieuw op, en start daarna het update programma "
                      "opnieuw. Uw vorige bestanden blijven bewaard.";
    }
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

std::string UnfinishedUpdateText(RunContext& ctx) {
  try {
    RefuseOwnLinks(ctx.fs, ctx.folders.DataDir);
    ReadJournal(ctx.fs, ctx.folders);
  } catch (const VbError& e) {
    if (e.number() == kTypeMismatch || e.number() == kPermissionDenied)
      return "Het journaal van de vorige update kan niet worden gelezen. Er is niets gewijzigd. " +
             SupportText(ctx.folders.DataDir);
  }
  return std::string(
      "De vorige update is onderbroken en is nog niet teruggezet. Sluit Velmora af of start uw "
      "computer opnieuw op, en start daarna het update programma opnieuw.");
}

}  // namespace vmu
