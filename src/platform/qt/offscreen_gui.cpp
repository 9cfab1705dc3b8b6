#include "platform/qt/offscreen_gui.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "platform/qt/qt_wizard_window.h"

namespace vmu {

struct OffscreenGui::Impl {
  std::unique_ptr<QApplication> app;
  std::unique_ptr<QtWizardWindow> window;
};

OffscreenGui::OffscreenGui(int& argc, char** argv) : impl_(std::make_unique<Impl>()) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime folder and complains on every start without one.
  if (!getenv("XDG_RUNTIME_DIR")) {
    runtime_ = (std::filesystem::temp_directory_path() / "vmupdate-runtime-XXXXXX").string();
    if (mkdtemp(runtime_.data())) setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    else runtime_.clear();
  }
  impl_->app = std::make_unique<QApplication>(argc, argv);
}

OffscreenGui::~OffscreenGui() {
  impl_.reset();
  if (!runtime_.empty()) {
    std::error_code ec;
    std::filesystem::remove_all(runtime_, ec);
  }
}

WizardView& OffscreenGui::Window(FileSystem& fs) {
  if (!impl_->window) impl_->window = std::make_unique<QtWizardWindow>(fs);
  return *impl_->window;
}

bool OffscreenGui::SaveShot(const std::string& host_path) {
  if (!impl_->window) return false;
  QCoreApplication::processEvents();
  return impl_->window->SaveScreenshot(host_path);
}

}  // namespace vmu
