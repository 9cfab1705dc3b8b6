#include "wizard/update_step.h"

#include "files/utility.h"
#include "platform/error.h"
#include "wizard/conversion_step.h"
#include "wizard/frm_conversie.h"
#include "wizard/install_files.h"
#include "wizard/package_manifest.h"
#include "wizard/version_check.h"

namespace vmu {

void UpdateStep(FrmConversie& form) {
  WizardView& view = form.view;
  WizardState& s = form.state;
  view.SetEnabled(Control::cmdTurnBack, false);
  view.SetText(Control::Label1_1, "De update wordt nu uitgevoerd. Even geduld aub...");
  // Reached after an error in step 2 before the folder was set: look where
  // step 2 unpacks, not in whatever folder the program runs in.
  if (s.UpdateDir.empty()) s.UpdateDir = form.ctx.folders.DataDir + "Update\\";

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
  // The conversion runs before any file of the installation is touched.
  if (s.ConvertFlag == 1) ConvertDatabase(form);
  if (s.FailureFlag) {
    form.ShowResultPage();
    return;
  }
  InstallFiles(form);
  form.ShowResultPage();
}

void AutomaticRestore(FrmConversie& form) {
  WizardState& s = form.state;
  s.ResultText =
      std::string("Er is een fout ontstaan bij het installeren van bestand: ") + kCrLf + form.press.InstallingEntry;
  MessageBoxSpec message;
  message.text = s.ResultText + kCrLf +
                 "De bestanden worden nu weer teruggezet zodat u met de huidige versie van Velmora kunt doorwerken";
  form.view.ShowMessage(message);
  // The counter was not raised yet, so it is left alone. The failing entry's
  // backup stays: it is that file's previous version, and the restore puts
  // it back even though the entry's target is gone.
  form.fTurnBack(false);
  // Files the update added had no previous version: removing them leaves the
  // installation as it was.
  for (const std::string& added : form.press.AddedFiles) {
    try {
      if (!form.ctx.fs.FileExists(added)) continue;
      form.LogText("Verwijderen " + added);
      form.ctx.fs.DeleteFile(added);
    } catch (const VbError&) {
      // An added file that stays does no harm to the previous version.
    }
  }
}

}  // namespace vmu
