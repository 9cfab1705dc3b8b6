#include "wizard/install_files.h"

#include "files/copy_with_backup.h"
#include "files/utility.h"
#include "package/file_list.h"
#include "package/package_files.h"
#include "platform/error.h"
#include "wizard/file_list_entries.h"
#include "wizard/frm_conversie.h"
#include "wizard/install_progress.h"
#include "wizard/lock_file.h"

namespace vmu {

bool ApplicationClosed(FrmConversie& form) {
  if (!form.ctx.fs.FileExists(DatabaseLockFile(form.ctx.folders.DataDir))) return true;
  form.LogText("Applicatie moet worden afgesloten");
  form.view.SetBold(Control::Label1_1, true);
  form.view.SetText(Control::Label1_1,
                    std::string("Voor deze upgrade dient Velmora afgesloten te worden alvorens verder te gaan. "
                                "Ga naar Velmora en sluit af") +
                        kCrLf + kCrLf + kCrLf + "Daarna kunt u met de knop VOLGENDE de installatie afmaken");
  form.state.Step = static_cast<int16_t>(form.state.Step - 1);
  return false;
}

void InstallFiles(FrmConversie& form) {
  RunContext& ctx = form.ctx;
  WizardState& s = form.state;
  const std::string& data_dir = ctx.folders.DataDir;

  for (s.DirIndex = 1; s.DirIndex <= 2; ++s.DirIndex) {
    s.BackupDir[s.DirIndex] = data_dir + "ConversieBackup-" + std::to_string(s.DirIndex) + "\\";
    form.CheckDir(s.BackupDir[s.DirIndex]);
    // CheckDir only reports a folder it could not empty. Old backups left
    // among the new ones would be put back by a restore over newer files.
    if (!ctx.fs.ListFiles(s.BackupDir[s.DirIndex]).empty()) Raise(kPathFileAccessError);
  }

  const std::string list_path = s.UpdateDir + package::kFileListName;
  if (!ctx.fs.FileExists(list_path)) {
    s.FailureFlag = true;
    form.LogText("Kan " + list_path + " niet vinden");
    s.ResultText = std::string(
                       "In het updatebestand kan de Velmora listing niet gevonden worden, dit duidt op een "
                       "oude updatefile. ") +
                   kCrLf + "Druk op annuleren om de upgrade af te breken. U kunt weer verder met Velmora. " + kCrLf +
                   "Druk op Vorige om eventueel een andere updatefile te selecteren";
    return;
  }
  const std::string bytes = ctx.fs.ReadBytes(list_path);
  form.press.Installing = true;

  const std::string folders[3] = {"", ctx.folders.ProgramDir, data_dir};
  const std::vector<InstallEntry> entries = ReadInstallEntries(bytes, form.press.InstallingEntry);
  InstallProgress progress(form.view, entries);
  for (const InstallEntry& entry : entries) {
    if (!package::IsInstalledLocation(entry.location)) continue;
    form.press.InstallingEntry = entry.name;
    const std::string target = folders[entry.location] + entry.name;
    // A file the update adds has no backup; the restore removes it by this list.
    if (!ctx.fs.FileExists(target)) form.press.AddedFiles.push_back(target);
    CopyWithBackup(ctx, s.BackupDir, s.UpdateDir + entry.name, target, entry.location);
    progress.FileDone();
  }

  // The new files reach the disk before the update is recorded as installed.
  ctx.fs.Flush();
  WriteIni(ctx.fs, data_dir + "VM.ini", "Main", "VersionUpdate", std::to_string(s.VerUpdate));
}

}  // namespace vmu
