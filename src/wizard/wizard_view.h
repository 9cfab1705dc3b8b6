// The wizard window as the logic sees it. The real Qt window and the
// headless script view both implement it.
#pragma once

#include <string>

#include "platform/dialogs.h"
#include "wizard/window_controls.h"

namespace vmu {

enum class TextColor { Black, Red };

struct ControlState {
  std::string text;
  bool enabled = true;
  bool visible = true;
  bool bold = false;
  TextColor color = TextColor::Black;
  int max = 100;  // progress bar only
  int value = 0;  // progress bar only
};

class WizardView : public Dialogs {
 public:
  virtual void SetText(Control c, const std::string& text) = 0;
  virtual void SetEnabled(Control c, bool enabled) = 0;
  virtual void SetVisible(Control c, bool visible) = 0;
  virtual void SetBold(Control c, bool bold) = 0;
  virtual void SetColor(Control c, TextColor color) = 0;
  virtual void SetProgressMax(int max) = 0;
  virtual void SetProgressValue(int value) = 0;
  // Repaints the window at once, in the middle of long work.
  virtual void Redraw() = 0;
  // Shows the window (non-modal) / closes it.
  virtual void ShowWindow() = 0;
  virtual void CloseWindow() = 0;
  // Ends the program at once: no close handling runs. Throws ProgramEnded.
  [[noreturn]] virtual void EndProgram() = 0;

  // The timed notice window (frmSplash). CreateNotice makes it when it does
  // not exist, which starts its two-second timer; ShowNotice makes it if
  // needed, sets its text and shows it modal until the timer has closed it.
  virtual void CreateNotice() = 0;
  virtual void ShowNotice(const std::string& text) = 0;
  // The folder information window (dFrmInfo), modal until its OK button.
  virtual void ShowInfo(const std::string& title, const std::string& label, const std::string& text) = 0;
  // The special-folder window (frmDirectories): made on first use and kept;
  // showing it again brings the same window forward.
  virtual void ShowDirectories() = 0;
  virtual void SetDirectoriesText(const std::string& text) = 0;

  // What the control shows now.
  virtual ControlState Inspect(Control c) = 0;

  std::string Text(Control c) { return Inspect(c).text; }
  bool Visible(Control c) { return Inspect(c).visible; }
  int ProgressValue() { return Inspect(Control::Pbr).value; }
};

}  // namespace vmu
