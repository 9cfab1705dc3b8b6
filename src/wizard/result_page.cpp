// The page every run of step 3 ends on, and the removal of the unpacked package.
#include "files/conversion_log.h"
#include "files/delete_files.h"
#include "files/trusted_paths.h"
#include "platform/error.h"
#include "wizard/feed_button.h"
#include "wizard/frm_conversie.h"
#include "wizard/install_progress.h"

namespace vmu {

void FrmConversie::ShowResultPage(InstallProgress* progress) {
  // The page appears when the work is done: the clean-up runs first, its
  // log lines still after the verdict.
  const bool failed = state.FailureFlag;
  if (!failed) LogTextIfPossible(ctx, "Update succesvol verlopen");
  CleanUpUpdateFolder(progress);
  if (progress) progress->Finish();

  std::string text;
  if (failed) {
    view.SetBold(Control::Label1_1, true);
    text = state.ResultText + kCrLf + kCrLf +
           "De update is niet uitgevoerd om bovenstaande reden. "
           "Overleg de omschrijving met uw leverancier als de oorzaak niet duidelijk is" +
           kCrLf + kCrLf + "Uw huidige versie is zonder probleem te gebruiken. ";
    view.SetText(Control::Label1_1, text);
    state.FailureFlag = false;
  } else {
    view.SetColor(Control::Label1_1, TextColor::Black);
    view.SetBold(Control::Label1_1, false);
    text = std::string("De Update is succesvol verlopen") + kCrLf + kCrLf +
           "Start uw nieuwe versie van Velmora weer op gebruikelijke wijze via het Startmenu of via "
           "het icoon op de desktop";
    view.SetText(Control::Label1_1, text);
  }
  view.SetText(Control::Label1_1,
               text + kCrLf + kCrLf +
                   "Als u meerdere versies van Velmora op uw syseem heeft, dan kunt u met de knop '" +
                   view.Text(Control::cmdOpenLocation) + "' uw andere versies van de update voorzien");
  view.SetText(Control::Label2, "Stap " + std::to_string(state.Step) + " van " + std::to_string(3));
  view.SetText(Control::CmdWizard_1, "Stoppen");
  view.SetEnabled(Control::cmdOpenLocation, true);
  view.SetVisible(Control::CancelButton, false);
  ShowFeedOnResultPage(*this, failed);
}

// Removes DataDir & "Update\" with its files. A failure here (a file still
// held by a running unpacker, a subfolder) is logged once and passed over:
// sending it through the press's error handling would run this page, and
// with it the clean-up, again, and after an installation would even restore
// the files that were just installed.
void FrmConversie::CleanUpUpdateFolder(InstallProgress* progress) {
  const std::string folder = ctx.folders.DataDir + "Update";
  try {
    LogText("Opruimen installatiefiles");
    RefuseLink(ctx.fs, folder);
    if (progress) progress->Begin(InstallPhase::CleanUp);
    // One by one, so that the bar moves while thousands of files go.
    for (const std::string& name : ctx.fs.ListFiles(folder + "\\")) {
      ctx.fs.DeleteFile(folder + "\\" + name);
      if (progress) progress->Step();
    }
    LogText("verwijderen installatiedirectory " + folder);
    // A crashed copy's temporary file would keep the folder from going.
    RemoveTemporaryFiles(ctx.fs, folder + "\\");
    if (ctx.fs.FolderExists(folder)) ctx.fs.RemoveFolder(folder);
  } catch (const VbError& e) {
    LogTextIfPossible(
        ctx, "Fout bij het opruimen van " + folder + ": " + std::to_string(e.number()) + " - " + e.description());
  }
}

}  // namespace vmu
