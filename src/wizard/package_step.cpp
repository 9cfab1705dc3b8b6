#include "wizard/package_step.h"

#include "files/conversion_log.h"
#include "files/recover_update.h"
#include "files/utility.h"
#include "package/unpacked_files.h"
#include "platform/shell_folders.h"
#include "wizard/feed_button.h"
#include "wizard/feed_download.h"
#include "wizard/frm_conversie.h"
#include "wizard/package_trust.h"

namespace vmu {

namespace {

constexpr int kDocumentsFolder = 5;

// How often the window is redrawn while the unpacker works.
constexpr double kRedrawSeconds = 0.25;

void DeleteIfThere(FileSystem& fs, const std::string& path) {
  if (fs.FileExists(path)) fs.DeleteFile(path);
}

// The unpacker takes the folder as one argument; a folder with a blank in it
// would otherwise reach it in pieces.
std::string CommandArgument(const std::string& text) {
  return text.find_first_of(" \t") == std::string::npos ? text : "\"" + text + "\"";
}

// The first line the unpacker wrote on standard error: its reason.
std::string FirstLine(const std::string& text) {
  const std::string line = text.substr(0, text.find_first_of("\r\n"));
  return line.empty() ? "geen reden opgegeven" : line;
}

// Runs the unpacker to its end, the window kept alive and its buttons
// waiting meanwhile. True when it unpacked the package.
bool Unpack(FrmConversie& form, const std::string& unpacker, const std::string& chosen, const std::string& chosen_name,
            bool signed_by_trusted_key) {
  WizardView& view = form.view;
  RunContext& ctx = form.ctx;
  WizardState& state = form.state;
  const std::string folder = state.UpdateDir.substr(0, state.UpdateDir.size() - 1);
  // The program path is quoted too: unquoted, "C:\Mijn Programmas\..."
  // would start a file "C:\Mijn" when there is one. A signed package
  // checks its own signature against the same keys before it unpacks.
  const std::string keys =
      signed_by_trusted_key ? "/keys " + CommandArgument(ctx.folders.ProgramDir + kTrustedKeysName) + " " : "";
  state.TaskId = ctx.processes.StartWatched("\"" + unpacker + "\" " + keys + "/auto " + CommandArgument(folder),
                                            WindowStyle::Minimized);

  view.SetProgressValue(5);
  // A quick unpacker has ended already and has no window left to activate.
  form.ResumeOnError5([&] { ctx.processes.Activate(state.TaskId); });
  view.SetText(Control::Label1_1, "Het updatefile [" + chosen_name + "] wordt uitgepakt. Even geduld aub...");
  view.SetEnabled(Control::CmdWizard_0, false);
  view.SetEnabled(Control::CmdWizard_1, false);
  view.Redraw();
  while (!ctx.processes.WaitForEnd(state.TaskId, kRedrawSeconds)) view.Redraw();
  view.SetEnabled(Control::CmdWizard_0, true);
  view.SetEnabled(Control::CmdWizard_1, true);
  const TaskOutcome outcome = ctx.processes.Outcome(state.TaskId);
  const auto files = package::ParseUnpackedFiles(outcome.output);
  if (outcome.exit_status == 0 && files) {
    state.PackageName = chosen_name;
    state.Unpacked = *files;
    state.UnpackedKnown = true;
    return true;
  }
  const std::string reason = outcome.exit_status != 0 ? FirstLine(outcome.errors) : "onbekende uitvoer";
  form.LogText("Updatefile " + chosen + " geweigerd: uitpakken mislukt (" + reason + ")");
  form.CheckDir(state.UpdateDir);
  RefuseDamaged(form, chosen_name);
  return false;
}

}  // namespace

void PackageStep(FrmConversie& form) {
  WizardView& view = form.view;
  RunContext& ctx = form.ctx;
  FolderSettings& folders = ctx.folders;
  WizardState& state = form.state;

  view.SetEnabled(Control::cmdTurnBack, false);
  view.SetEnabled(Control::cmdOpenLocation, false);
  DisableSearchButton(form);
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
  // A package found in the update feed is downloaded where the dialog would open.
  const bool from_feed = FeedDownloadPending(form);
  const std::string chosen = from_feed ? DownloadFeedPackage(form, dialog.folder) : view.ShowOpenFile(dialog);
  if (chosen.empty()) {
    view.SetVisible(Control::Pbr, false);
    if (!from_feed) {
      MessageBoxSpec message;
      message.text = "U heeft niets geselecteerd";
      view.ShowMessage(message);
    }
    form.CmdWizard_Click(0);
    return;
  }
  const std::string chosen_name = FileNameOfPath(chosen);
  // Every update attempt starts a new log, unless an update that broke off
  // is still to be undone: its log is what support needs. Only now: going
  // back from the dialog keeps the last update's log.
  if (!UpdateUnfinished(ctx)) DeleteIfThere(ctx.fs, folders.DataDir + kLogFileName);
  if (from_feed) LogFeedDownload(form, chosen);

  view.SetProgressValue(1);
  folders.PackageDir = DirectoryOfPath(chosen);
  WriteIni(ctx.fs, folders.UpdateIniPath, "Defaults", "DefDir", folders.PackageDir);
  state.UpdateDir = folders.DataDir + "Update\\";

  state.UnpackedKnown = false;
  state.Unpacked.clear();

  view.SetProgressValue(2);
  form.CheckDir(state.UpdateDir);

  view.SetProgressValue(3);
  // The package is checked as the copy that is then started: nothing of a
  // package that is damaged or not from the supplier runs, and nothing can
  // swap the chosen file once it has been checked.
  const std::string unpacker = state.UpdateDir + kUnpackerName;
  bool signed_by_trusted_key = false;
  if (!CopyTrustedPackage(form, chosen, chosen_name, unpacker, signed_by_trusted_key) ||
      !CopyMatchesFeed(form, unpacker, chosen_name)) {
    view.SetVisible(Control::Pbr, false);
    form.CmdWizard_Click(0);
    return;
  }

  view.SetProgressValue(4);
  form.press.CurrentAction = "Uitpakken VMU file";
  if (!Unpack(form, unpacker, chosen, chosen_name, signed_by_trusted_key)) {
    view.SetVisible(Control::Pbr, false);
    form.CmdWizard_Click(0);
    return;
  }
  view.SetVisible(Control::Pbr, false);
  view.SetText(Control::Label1_1, "Het updatefile [" + chosen_name + "] staat klaar om geïnstalleerd te worden." +
                                      kCrLf + kCrLf + kCrLf + "Druk op 'Volgende' om het installeren te starten");
  DeleteIfThere(ctx.fs, folders.PackageDir + kLogFileName);
}

}  // namespace vmu
