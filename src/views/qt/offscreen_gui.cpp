#include "views/qt/offscreen_gui.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "views/qt/qt_wizard_window.h"

namespace vmu {

namespace {

// "dir/05-x.png" with "-info" gives "dir/05-x-info.png".
std::string BesideShot(const std::string& host_path, const std::string& suffix) {
  const std::string extension = ".png";
  if (host_path.size() >= extension.size() &&
      host_path.compare(host_path.size() - extension.size(), extension.size(), extension) == 0)
    return host_path.substr(0, host_path.size() - extension.size()) + suffix + extension;
  return host_path + suffix + extension;
}

bool SaveWidget(QWidget* widget, const std::string& host_path) {
  const QPixmap shot = widget->grab();
  return !shot.isNull() && shot.save(QString::fromStdString(host_path), "PNG");
}

// The offscreen platform has no window manager to tell a window's size
// limits to and says so for every dialog; that says nothing about the
// session and would only interleave with its transcript.
QtMessageHandler previous_handler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("does not support propagateSizeHints"))) return;
  if (previous_handler) previous_handler(type, context, message);
}

}  // namespace

struct OffscreenGui::Impl {
  std::unique_ptr<QApplication> app;
  std::unique_ptr<QtWizardWindow> window;
};

OffscreenGui::OffscreenGui(int& argc, char** argv) : impl_(std::make_unique<Impl>()) {
  // An offscreen setting with options (a screen of a given size) is kept.
  const char* platform = getenv("QT_QPA_PLATFORM");
  if (!platform || std::string_view(platform).rfind("offscreen", 0) != 0) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // Qt wants a private runtime folder and complains on every start without one.
  if (!getenv("XDG_RUNTIME_DIR")) {
    runtime_ = (std::filesystem::temp_directory_path() / "vmupdate-runtime-XXXXXX").string();
    if (mkdtemp(runtime_.data())) setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    else runtime_.clear();
  }
  previous_handler = qInstallMessageHandler(QuietHandler);
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
  if (!impl_->window) {
    impl_->window = std::make_unique<QtWizardWindow>(fs);
    // The script answers the modal windows; the real one is only pictured.
    impl_->window->SetInfoAnsweredByScript(true);
  }
  return *impl_->window;
}

bool OffscreenGui::SaveShot(const std::string& host_path) {
  if (!impl_->window) return false;
  QCoreApplication::processEvents();
  QtWizardWindow& window = *impl_->window;
  bool saved = window.SaveScreenshot(host_path);
  if (QWidget* info = window.OpenInfoWindow()) {
    saved = SaveWidget(info, BesideShot(host_path, "-info")) && saved;
    window.CloseInfoWindow();
  }
  if (QWidget* directories = window.OpenDirectoriesWindow())
    saved = SaveWidget(directories, BesideShot(host_path, "-directories")) && saved;
  return saved;
}

}  // namespace vmu
