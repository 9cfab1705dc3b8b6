#include "startup/other_location.h"

#include "files/recover_update.h"
#include "platform/error.h"
#include "platform/shell_folders.h"
#include "startup/folder_settings.h"
#include "startup/installation_guard.h"
#include "startup/mdl_directory.h"

namespace vmu {

void cmdOpenLocation_Click(FrmConversie& form) {
  WizardView& view = form.view;
  RunContext& ctx = form.ctx;
  FolderSettings& folders = ctx.folders;
  try {
    // A working copy: a cancelled dialog must leave ProgramDir as it was.
    std::string folder = SpecialFolderPath(ctx, kProgramFilesFolder);
    const std::string chosen = BrowseForFile(ctx, view, "Zoek de alternatieve map waar VM.EXE in staat",
                                             "Velmora programma (VM.EXE)|VM.EXE", folder, "VM.EXE");
    if (chosen.empty()) {
      ShowMessageOk(view, "U heeft geen keuze gemaakt, de locatie blijft ongewijzigd");
      return;
    }

    // Another wizard's installation stays its own; this one keeps its own.
    const std::string keeps = "De locatie blijft ongewijzigd";
    if (!ClaimInstallation(ctx, view, DataDirFor(ctx, folder), keeps)) return;
    const std::string previous = folders.ProgramDir;
    folders.ProgramDir = folder;
    const DataDirChoice choice = ResolveDataDir(ctx, view, folders.ProgramDir);
    // A data folder made only just now could not be claimed before.
    if (!ClaimInstallation(ctx, view, choice.data_dir, keeps)) {
      folders.ProgramDir = previous;
      return;
    }
    folders.ProgramDir = choice.program_folder;
    folders.DataDir = choice.data_dir;
    if (!choice.missing_required.empty()) {
      ShowMessageOk(view, "Velmora updater kan " + choice.missing_required +
                              " niet vinden op deze lokatie en wordt nu afgesloten. Neem contact op met "
                              "uw leverancier");
      view.EndProgram();
    }

    // Without a data folder ("Geen Directory") the settings file lies in the
    // root of the current drive.
    ShowFolderSettings(ctx, view, "\\Update.ini");

    RecoverInterruptedUpdate(ctx, view);
    // Back to the welcome page, for the new installation.
    form.state.Step = 0;
    view.SetText(Control::CmdWizard_1, "Volgende >>");
    form.CmdWizard_Click(1);
  } catch (const VbError& e) {
    // The program keeps running; what was changed before the error stays.
    ShowMessageOk(view, e.description());
  }
}

}  // namespace vmu
