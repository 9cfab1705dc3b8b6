#include "startup/main_module.h"

#include "files/recover_update.h"
#include "platform/error.h"
#include "platform/shell_folders.h"
#include "startup/folder_settings.h"
#include "startup/installation_guard.h"
#include "startup/mdl_directory.h"
#include "wizard/feed_button.h"

namespace vmu {

void Main(FrmConversie& form) {
  WizardView& view = form.view;
  RunContext& ctx = form.ctx;
  FolderSettings& folders = ctx.folders;
  try {
    // A mistyped or missing WINEPREFIX: say so, rather than search an empty
    // prefix for Velmora's program folder.
    if (!ctx.host.prefix_without_drives.empty()) {
      ShowMessageOk(view, "In de Wine-map " + ctx.host.prefix_without_drives +
                              " staan geen Wine-stations (dosdevices of drive_c)." + kCrLf +
                              "Zet WINEPREFIX op de Wine-map waarin Velmora is geïnstalleerd en start het "
                              "update programma opnieuw." +
                              kCrLf + "Het update programma wordt nu afgesloten");
      view.EndProgram();
    }
    form.Load();
    if (ctx.maintenance) {
      view.SetVisible(Control::CmdCompareTables, true);
      view.SetVisible(Control::cmdOpenDirectories, true);
    }

    const std::string program_files_dir = SpecialFolderPath(ctx, kProgramFilesFolder);
    if (ctx.fs.FileExists(program_files_dir + "\\velmora\\vm.exe")) {
      folders.ProgramDir = program_files_dir + "\\velmora";
    } else {
      ShowMessageOk(view,
                    "Het update programma kan de Velmora programma folder niet vinden, de installatie is "
                    "in een afwijkende folder gezet. In het volgende scherm wordt u gevraagd het bestand "
                    "VM.EXE te openen");
      folders.ProgramDir = program_files_dir;
      BrowseForFile(ctx, view, "Zoek de directory waar VM.EXE in staat", "Velmora programma (VM.EXE)|VM.EXE",
                    folders.ProgramDir, "");
      if (folders.ProgramDir.empty()) {
        ShowMessageOk(view, "U heeft geen keuze gemaakt, het update programma wordt afgesloten");
        view.EndProgram();
      }
    }

    // Claimed before ResolveDataDir, which moves and writes files there.
    const std::string ends = "Het update programma wordt nu afgesloten";
    if (!ClaimInstallation(ctx, view, DataDirFor(ctx, folders.ProgramDir), ends)) view.EndProgram();
    const DataDirChoice choice = ResolveDataDir(ctx, view, folders.ProgramDir);
    folders.ProgramDir = choice.program_folder;
    folders.DataDir = choice.data_dir;
    // A data folder made only just now could not be claimed before.
    if (!ClaimInstallation(ctx, view, folders.DataDir, ends)) view.EndProgram();
    if (!choice.missing_required.empty()) {
      ShowMessageOk(view, "Velmora updater kan " + choice.missing_required +
                              " niet vinden en wordt nu afgesloten. Neem contact op met uw leverancier");
      view.EndProgram();
    }

    ShowFolderSettings(ctx, view, "Update.ini");
    view.SetText(Control::Label1_3, std::string("Programma folder: ") + kCrLf + "Data folder: ");
    // The welcome page was drawn before the program folder was known.
    ShowFeedOnWelcomePage(form);
    view.ShowWindow();
    // An update that broke off is undone before the user can do anything;
    // when it cannot be, the message says why and the wizard goes on.
    RecoverInterruptedUpdate(ctx, view);
  } catch (const VbError& e) {
    ShowMessageOk(view, e.description() + kCrLf + "Deze functie wordt nu afgesloten");
    view.EndProgram();
  }
}

}  // namespace vmu
