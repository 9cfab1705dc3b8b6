// VM_Update: the update wizard with its real window.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <clocale>
#include <cstdlib>
#include <iostream>

#include "app/cli/command_line.h"
#include "platform/crypto/detached_signature.h"
#include "platform/crypto/host_package_checker.h"
#include "platform/host/drive_map.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_installation_lock.h"
#include "platform/host/host_processes.h"
#include "platform/host/read_host_info.h"
#include "platform/mdb/mdb_jet_files.h"
#include "platform/net/curl_network.h"
#include "platform/sqlite/sqlite_databases.h"
#include "startup/main_module.h"
#include "startup/window_events.h"
#include "views/qt/qt_event_guard.h"
#include "views/qt/qt_wizard_window.h"
#include "wizard/frm_conversie.h"

namespace {

// The window's controls, handed to the form's handlers.
class FormEvents : public vmu::WizardEvents {
 public:
  explicit FormEvents(vmu::FrmConversie& form) : form_(form) {}

  void Clicked(vmu::Control c) override { vmu::ClickAnyControl(form_, c); }
  void DoubleClicked(vmu::Control c) override { vmu::DoubleClickAnyControl(form_, c); }
  void DirectoriesCommand1Clicked() override { vmu::ClickDirectoriesCommand1(form_); }

  // The close box: the form may refuse; otherwise it cleans up and the
  // window closes, which ends the program.
  bool CloseRequested() override {
    if (form_.QueryUnload(vmu::CloseMode::User)) return false;
    form_.Unload();
    return true;
  }

 private:
  vmu::FrmConversie& form_;
};

// Qt's window-system plugins need a display server: without one Qt aborts
// with a message about plugins. An explicit QT_QPA_PLATFORM is taken as is.
bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

const vmu::cli::Program kProgram{"VM_Update",
                                 "usage: VM_Update\n"
                                 "The update wizard of Velmora: installs an update package into the installation of\n"
                                 "Velmora in the drive prefix named by WINEPREFIX (else ~/.wine), or rolls the last\n"
                                 "update back. It takes no arguments; --help and --version answer and end.\n"};

}  // namespace

int main(int argc, char** argv) {
  // Before the toolkit starts, so that these answer without a display.
  vmu::cli::Arguments args;
  if (auto status = vmu::cli::Parse(kProgram, argc, argv, {}, args, std::cout, std::cerr)) return *status;
  if (!args.operands.empty()) {
    return vmu::cli::UsageError(kProgram, "unexpected argument '" + args.operands.front() + "'", std::cerr);
  }

  if (!HasDisplay()) {
    std::cerr << "VM_Update: needs a desktop session (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                 "without one, run the wizard with vmupdate-script (see man vmupdate-script)\n";
    return 1;
  }
  QApplication app(argc, argv);
  app.setApplicationName("VM_Update");
  // The desktop entry's name and icon, so that window lists show both.
  app.setDesktopFileName("vm-update");
  QIcon icon;
  for (int size : {32, 48, 256}) icon.addFile(QString(":/icons/vm-update-%1.png").arg(size), QSize(size, size));
  app.setWindowIcon(icon);
  // Qt has adopted the desktop's locale; numbers in files and databases keep
  // the decimal point whatever C library call reads or writes them.
  std::setlocale(LC_NUMERIC, "C");

  // Every text of the program is Dutch; Qt's own buttons and dialogs follow
  // when its Dutch translation is installed.
  QTranslator qt_dutch;
  if (qt_dutch.load("qtbase_nl", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&qt_dutch);
  }

  vmu::HostFileSystem fs{vmu::DriveMap(vmu::DriveMap::DefaultPrefix())};
  vmu::HostProcesses processes(fs);
  vmu::RunContext ctx(fs, processes, vmu::CurrentHostInfo(fs, argc > 0 ? argv[0] : nullptr));
  vmu::MdbJetFiles jet_files(fs);
  vmu::SqliteDatabases databases(fs, &jet_files);
  ctx.databases = &databases;
  vmu::HostPackageChecker packages(fs);
  ctx.packages = &packages;
  vmu::HostInstallationLock lock(fs);
  ctx.lock = &lock;
  vmu::CurlNetwork network(fs);
  ctx.network = &network;
  vmu::crypto::DetachedSignatureChecker signatures;
  ctx.signatures = &signatures;
#ifdef VMU_MAINTENANCE
  // A maintenance build, for support staff (CMake option VMU_MAINTENANCE).
  ctx.maintenance = true;
#endif

  vmu::QtWizardWindow window(fs);
  vmu::FrmConversie form(ctx, window);
  FormEvents events(form);
  window.SetEvents(&events);

  vmu::RunGuarded([&] { vmu::Main(form); });
  if (vmu::ProgramHasEnded()) return 0;
  // Start-up either shows the window or ends the program; a window that is
  // not shown could never be closed, so the program must not wait for it.
  if (!window.isVisible()) return 1;
  return app.exec();
}
