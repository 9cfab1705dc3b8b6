#include "wizard/package_step.h"

#include "files/conversion_log.h"
#include "files/recover_update.h"
#include "files/utility.h"
#include "platform/shell_folders.h"
#include "wizard/frm_conversie.h"
#include "wizard/package_trust.h"

namespace vmu {

namespace {

constexpr int kDocumentsFolder = 5;

void DeleteIfThere(FileSystem& fs, const std::string& path) {
  if (fs.FileExists(path)) fs.DeleteFile(path);
}

// The unpacker takes the folder as one argument; a folder with a blank in it
// would otherwise reach it in pieces.
std::string CommandArgument(const std::string& text) {
  return text.find_first_of(" \t") == std::string::npos ? text : "\"" + text + "\"";
}

}  // namespace

void PackageStep(FrmConversie& form) {
  WizardView& view = form.view;
  RunContext& ctx = form.ctx;
  FolderSettings& folders = ctx.folders;
  WizardState& state = form.state;

  view.SetEnabled(Control::cmdTurnBack, false);
  // Every update attempt starts a new log, unless an update that broke off
  // is still to be undone: its log is what support needs.
  if (!UpdateUnfinished(ctx)) DeleteIfThere(ctx.fs, folders.DataDir + kLogFileName);
  view.SetEnabled(Control::cmdOpenLocation, false);
  view.SetText(Control::Label1_1, "Opzoeken update bestand");
  view.SetProgressMax(5);
  view.SetProgressValue(0);
  view.SetVisible(Control::Pbr, true);
  view.Redraw();

  FileDialogSpec dialog;
  dialog.title = "Open de update file";
  dialog.filter = "Velmora update files (*.VMU)|*.VMU";
  dialog.folder = !folders.PackageDir.empty()
                      ? folders.PackageDir
                      : ReadIni(ctx, "Defaults", "DefDir",
                                SpecialFolder(kDocumentsFolder, ctx.host.user_name, ctx.host.prefix_folders), "");
  dialog.file = "";
  const std::string chosen = view.ShowOpenFile(dialog);
  if (chosen.empty()) {
    view.SetVisible(Control::Pbr, false);
    MessageBoxSpec message;
    message.text = "U heeft niets geselecteerd";
    view.ShowMessage(message);
    form.CmdWizard_Click(0);
    return;
  }
  const std::string chosen_name = FileNameOfPath(chosen);

  view.SetProgressValue(1);
  folders.PackageDir = DirectoryOfPath(chosen);
  WriteIni(ctx.fs, folders.UpdateIniPath, "Defaults", "DefDir", folders.PackageDir);
  state.UpdateDir = folders.DataDir + "Update\\";

  // Nothing of a package that is damaged or not from the supplier is copied or run.
  if (!PackageIsTrusted(form, chosen, chosen_name)) {
    view.SetVisible(Control::Pbr, false);
    form.CmdWizard_Click(0);
    return;
  }

  view.SetProgressValue(2);
  form.CheckDir(state.UpdateDir);

  view.SetProgressValue(3);
  const std::string unpacker = state.UpdateDir + "VMU_ZP.exe";
  ctx.fs.CopyFile(chosen, unpacker);
  // A downloaded package usually lacks the execute bits; Windows needs none.
  ctx.fs.AllowExecution(unpacker);

  view.SetProgressValue(4);
  form.press.CurrentAction = "Uitpakken VMU file";
  const std::string folder = state.UpdateDir.substr(0, state.UpdateDir.size() - 1);
  state.TaskId = ctx.processes.Start(unpacker + " /auto " + CommandArgument(folder), WindowStyle::Minimized);

  view.SetProgressValue(5);
  // A quick unpacker has ended already and has no window left to activate.
  form.ResumeOnError5([&] { ctx.processes.Activate(state.TaskId); });
  view.SetVisible(Control::Pbr, false);
  view.SetText(Control::Label1_1, "Het updatefile [" + chosen_name + "] staat klaar om geïnstalleerd te worden." +
                                      kCrLf + kCrLf + kCrLf + "Druk op 'Volgende' om het installeren te starten");
  DeleteIfThere(ctx.fs, folders.PackageDir + kLogFileName);
}

}  // namespace vmu
