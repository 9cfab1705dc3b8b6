// The real wizard window, a Qt Widgets window that shows what the logic says.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "platform/file_system.h"
#include "wizard/wizard_view.h"

class QKeyEvent;
class QLabel;
class QPushButton;
class QProgressBar;
class QScrollArea;
class QShowEvent;

namespace vmu {

class QtDirectoriesWindow;
class QtInfoWindow;

// What the window's controls ask the logic to do.
class WizardEvents {
 public:
  virtual ~WizardEvents() = default;
  virtual void Clicked(Control c) = 0;
  virtual void DoubleClicked(Control c) = 0;
  // The close box: true when the window may close.
  virtual bool CloseRequested() = 0;
  // The button "Command1" of the special-folder window.
  virtual void DirectoriesCommand1Clicked() {}
};

class QtWizardWindow : public QWidget, public WizardView {
  Q_OBJECT

 public:
  // fs maps the dialog's Windows paths to host paths and back.
  explicit QtWizardWindow(FileSystem& fs, QWidget* parent = nullptr);

  void SetEvents(WizardEvents* events) { events_ = events; }

  // WizardView
  void SetText(Control c, const std::string& text) override;
  void SetEnabled(Control c, bool enabled) override;
  void SetVisible(Control c, bool visible) override;
  void SetBold(Control c, bool bold) override;
  void SetColor(Control c, TextColor color) override;
  void SetProgressMax(int max) override;
  void SetProgressValue(int value) override;
  void Redraw() override;
  void ShowWindow() override;
  void CloseWindow() override;
  [[noreturn]] void EndProgram() override;
  void CreateNotice() override;
  void ShowNotice(const std::string& text) override;
  void ShowInfo(const std::string& title, const std::string& label, const std::string& text) override;
  void ShowDirectories() override;
  void SetDirectoriesText(const std::string& text) override;
  ControlState Inspect(Control c) override;
  Answer ShowMessage(const MessageBoxSpec& request) override;
  std::string ShowOpenFile(const FileDialogSpec& request) override;

  // Renders the window as it stands to a PNG file; false on failure.
  bool SaveScreenshot(const std::string& host_png_path);

  // In a scripted session the script answers the folder information window;
  // it is then shown without waiting and stays open until CloseInfoWindow,
  // so that a picture can be taken of it.
  void SetInfoAnsweredByScript(bool answered) { info_answered_by_script_ = answered; }
  void CloseInfoWindow();
  // The folder information and special-folder windows while they are
  // shown, else nullptr.
  QWidget* OpenInfoWindow() const;
  QWidget* OpenDirectoriesWindow() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QWidget* Widget(Control c) const;
  void BuildControls();
  void BuildLayout();
  void ApplyDesign();
  // The widget that stands in the layout for the control.
  QWidget* Placed(Control c);
  // Every button's caption, with its mnemonic.
  void ShowCaptions();
  void FocusDefaultButton();
  // After "Volgende >>" was enabled, disabled, shown or hidden.
  void KeepFocusOnDefault(Control c, bool had_focus);
  // The designed size, or less on a screen too small for it.
  void FitToScreen();
  void Click(Control c);
  // Presses the button as a user could: only when it is enabled and visible.
  bool PressIfAvailable(Control c);

  FileSystem& fs_;
  WizardEvents* events_ = nullptr;
  bool ending_ = false;
  bool redrawing_ = false;
  bool info_answered_by_script_ = false;
  bool fitted_ = false;
  QScrollArea* main_text_area_ = nullptr;
  QtInfoWindow* info_window_ = nullptr;         // only while the script holds it open
  QtDirectoriesWindow* directories_ = nullptr;  // made on first use, then kept
  std::array<QWidget*, kControlCount> widgets_{};
  std::array<ControlState, kControlCount> state_{};
};

}  // namespace vmu
