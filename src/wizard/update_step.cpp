#include "wizard/update_step.h"

#include "files/conversion_log.h"
#include "files/format_version.h"
#include "files/recover_update.h"
#include "files/update_journal.h"
#include "files/utility.h"
#include "platform/error.h"
#include "wizard/conversion_step.h"
#include "wizard/frm_conversie.h"
#include "wizard/install_files.h"
#include "wizard/install_progress.h"
#include "wizard/package_manifest.h"
#include "wizard/unpacked_check.h"
#include "wizard/version_check.h"

namespace vmu {

namespace {

// The conversion writes only inside the update folder, ending with the move
// of the new database to the old one's name; its journal lets the next
// start clear what a crash left there.
void ConvertWithJournal(FrmConversie& form) {
  const WizardState& s = form.state;
  UpdateJournal journal;
  journal.package = s.UpdateDir + " (versie " + FormatVersion(s.Ver, true, s.VerUpdate) + ")";
  journal.program_dir = form.ctx.folders.ProgramDir;
  journal.data_dir = form.ctx.folders.DataDir;
  journal.phase = kPhaseStarted;
  journal.converted.emplace_back(s.ConvNewfile, s.ConvOldfile);
  FlushLog(form.ctx);
  WriteJournal(form.ctx.fs, journal);
  ConvertDatabase(form);
  RemoveJournal(form.ctx.fs, journal.data_dir);
}

}  // namespace

void UpdateStep(FrmConversie& form) {
  WizardView& view = form.view;
  WizardState& s = form.state;
  view.SetEnabled(Control::cmdTurnBack, false);
  view.SetText(Control::Label1_1, "De update wordt nu uitgevoerd. Even geduld aub...");
  // Reached after an error in step 2 before the folder was set: look where
  // step 2 unpacks, not in whatever folder the program runs in.
  if (s.UpdateDir.empty()) s.UpdateDir = form.ctx.folders.DataDir + "Update\\";
  // Nothing read or installed from the folder but what the unpacker wrote.
  if (!UnpackedFilesIntact(form)) {
    form.ShowResultPage();
    return;
  }

  if (!FindManifest(form)) {
    form.ShowResultPage();
    return;
  }
  const std::string& manifest_name = form.ctx.folders.SetupIniName;
  form.press.CurrentAction = "lezen inifile: " + s.UpdateDir + manifest_name;
  form.LogText("lezen INIfile " + manifest_name);
  ReadPackageSettings(form);
  form.LogText("check new update");

  // The maintenance comparison runs from its own button.
  if (form.ctx.maintenance) {
    view.SetText(Control::CmdCompareTables, "Druk nu op de knop");
    return;
  }
  if (s.NewUpdate == 1) WriteIni(form.ctx.fs, form.ctx.folders.UpdateIniPath, "Main", "NewUpdate", "1");
  if (!PackageAccepted(form)) {
    form.ShowResultPage();
    return;
  }

  if (s.CloseFlag == 1 && !ApplicationClosed(form)) return;
  // An update that broke off is undone before another one starts; while it
  // cannot be, nothing is installed or converted.
  if (RecoverInterruptedUpdate(form.ctx, form.view) == Recovery::Failed) {
    s.FailureFlag = true;
    s.ResultText = UnfinishedUpdateText(form.ctx);
    form.ShowResultPage();
    return;
  }
  // The conversion runs before any file of the installation is touched.
  if (s.ConvertFlag == 1) ConvertWithJournal(form);
  if (s.FailureFlag) {
    form.ShowResultPage();
    return;
  }
  InstallProgress progress(view);
  InstallFiles(form, progress);
  form.ShowResultPage(&progress);
}

void AutomaticRestore(FrmConversie& form) {
  WizardState& s = form.state;
  s.ResultText =
      std::string("Er is een fout ontstaan bij het installeren van bestand: ") + kCrLf + form.press.InstallingEntry;
  MessageBoxSpec message;
  message.text = s.ResultText + kCrLf +
                 "De bestanden worden nu weer teruggezet zodat u met de huidige versie van Velmora kunt doorwerken";
  form.view.ShowMessage(message);
  // The installation's journal says what to put back: the replaced files,
  // the added ones away, the counter as it was. When that fails the journal
  // stays, and the next start tries again.
  form.fTurnBack(false);
}

}  // namespace vmu
