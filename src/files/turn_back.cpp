#include "files/turn_back.h"

#include <limits>

#include "files/conversion_log.h"
#include "files/utility.h"
#include "platform/error.h"

namespace vmu {

bool fTurnBack(RunContext& ctx, Dialogs& dialogs, std::array<std::string, 3>& backup_dir, int16_t& dir_index,
               bool completed_installation) {
  const std::string& data_dir = ctx.folders.DataDir;
  const std::array<std::string, 3> target_dir = {"", ctx.folders.ProgramDir, data_dir};
  std::string file;  // the file being handled, for the message
  try {
    LogText(ctx, std::string(kCrLf) + "*******************" + kCrLf + "Terugdraaien installatie");
    for (dir_index = 1; dir_index <= 2; ++dir_index) {
      backup_dir[dir_index] = data_dir + "ConversieBackup-" + std::to_string(dir_index) + "\\";
      const std::string& target = target_dir[dir_index];
      for (const std::string& name : ctx.fs.ListFiles(backup_dir[dir_index] + "*.*")) {
        file = name;
        LogText(ctx, "Verwijderen " + target + name);
        // An installation that broke off between moving the old file aside
        // and copying the new one leaves no target: the backup still goes back.
        if (ctx.fs.FileExists(target + name)) ctx.fs.DeleteFile(target + name);
        LogText(ctx, "Kopiëren " + backup_dir[dir_index] + name + " naar " + target + name);
        ctx.fs.CopyFile(backup_dir[dir_index] + name, target + name);
      }
    }
    file.clear();
    // The restored files reach the disk before the counter says so.
    ctx.fs.Flush();
    if (completed_installation) {
      const std::string ini = data_dir + "VM.ini";
      const int update = ToInt32(ReadIni(ctx, "Main", "VersionUpdate", "0", ini));
      if (update == (std::numeric_limits<int32_t>::min)()) Raise(kOverflow);
      WriteIni(ctx.fs, ini, "Main", "VersionUpdate", std::to_string(update - 1));
    }
    return true;
  } catch (const VbError& e) {
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
