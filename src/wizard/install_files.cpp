#include "wizard/install_files.h"

#include <vector>

#include "files/copy_with_backup.h"
#include "files/file_list.h"
#include "files/utility.h"
#include "platform/error.h"
#include "wizard/frm_conversie.h"
#include "wizard/lock_file.h"

namespace vmu {

namespace {

struct ListEntry {
  std::string name;
  int location;
};

// The whole list is read, and every name checked, before the first file is
// touched: a damaged or hostile list then changes nothing.
std::vector<ListEntry> ReadEntries(FrmConversie& form, const std::string& bytes) {
  FileListCursor list = OpenFileList(bytes);
  std::vector<ListEntry> entries;
  std::string name;
  while (ReadFileListName(list, name)) {
    form.press.InstallingEntry = name;
    const int location = ReadFileListLocation(list);
    // Only program and data folder entries are written anywhere, and a
    // folder part could lead them out of their folder.
    if ((location == 1 || location == 2) && !IsInstallableName(name)) Raise(kBadFileName);
    entries.push_back({name, location});
  }
  return entries;
}

}  // namespace

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

  const std::string list_path = s.UpdateDir + "FileList.VML";
  if (!ctx.fs.FileExists(list_path)) {
    s.FailureFlag = true;
    form.LogText("Kan " + list_path + " niet vinden");
    s.ResultText = std::string("In het updatebestand kan de Velmora listing niet gevonden worden, dit duidt op een "
                               "oude updatefile. ") +
                   kCrLf + "Druk op annuleren om de upgrade af te breken. U kunt weer verder met Velmora. " + kCrLf +
                   "Druk op Vorige om eventueel een andere updatefile te selecteren";
    return;
  }
  const std::string bytes = ctx.fs.ReadBytes(list_path);
  form.press.Installing = true;

  const std::string folders[3] = {"", ctx.folders.ProgramDir, data_dir};
  for (const ListEntry& entry : ReadEntries(form, bytes)) {
    if (entry.location != 1 && entry.location != 2) continue;
    form.press.InstallingEntry = entry.name;
    const std::string target = folders[entry.location] + entry.name;
    // A file the update adds has no backup; the restore removes it by this list.
    if (!ctx.fs.FileExists(target)) form.press.AddedFiles.push_back(target);
    CopyWithBackup(ctx, s.BackupDir, s.UpdateDir + entry.name, target, entry.location);
  }

  // The new files reach the disk before the update is recorded as installed.
  ctx.fs.Flush();
  WriteIni(ctx.fs, data_dir + "VM.ini", "Main", "VersionUpdate", std::to_string(s.VerUpdate));
}

}  // namespace vmu
