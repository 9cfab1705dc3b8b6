// VM_Update: the update wizard with its real window.
#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "platform/host/drive_map.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_installation_lock.h"
#include "platform/host/host_processes.h"
#include "platform/host/read_host_info.h"
#include "platform/qt/qt_event_guard.h"
#include "platform/qt/qt_wizard_window.h"
#include "platform/sqlite/sqlite_databases.h"
#include "startup/main_module.h"
#include "startup/window_events.h"
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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("VM_Update");

  // Every text of the program is Dutch; Qt's own buttons and dialogs follow
  // when its Dutch translation is installed.
  QTranslator qt_dutch;
  if (qt_dutch.load("qtbase_nl", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    app.installTranslator(&qt_dutch);
  }

  vmu::HostFileSystem fs(vmu::DriveMap(vmu::DriveMap::DefaultPrefix()));
  vmu::HostProcesses processes(fs);
  vmu::RunContext ctx(fs, processes, vmu::CurrentHostInfo(fs, argc > 0 ? argv[0] : nullptr));
  vmu::SqliteDatabases databases(fs);
  ctx.databases = &databases;
  vmu::HostInstallationLock lock(fs);
  ctx.lock = &lock;
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
