// The headless wizard window: keeps each control's state, prints every
// operation as a transcript line, and answers dialogs from queued answers.
#pragma once

#include <array>
#include <deque>
#include <ostream>
#include <string>

#include "wizard/wizard_view.h"

namespace vmu {

// Ends the script driver with an exit status (no answer queued: 3).
// Deliberately not a std::exception, so nothing in the logic catches it.
struct ScriptAbort {
  int status;
};

class ScriptView : public WizardView {
 public:
  explicit ScriptView(std::ostream& out);

  void QueueAnswer(Answer a) { answers_.push_back(a); }
  void QueueFile(const std::string& path) { files_.push_back(path); }
  bool AnswersPending() const { return !answers_.empty() || !files_.empty(); }

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
  void CreateNotice() override {}
  void ShowNotice(const std::string& text) override;
  void ShowInfo(const std::string& title, const std::string& label, const std::string& text) override;
  void ShowDirectories() override;
  void SetDirectoriesText(const std::string& text) override;
  bool DirectoriesShown() const { return directories_shown_; }
  ControlState Inspect(Control c) override;
  Answer ShowMessage(const MessageBoxSpec& request) override;
  std::string ShowOpenFile(const FileDialogSpec& request) override;

 private:
  void Line(const std::string& line);

  std::ostream& out_;
  std::array<ControlState, kControlCount> state_;
  std::deque<Answer> answers_;
  std::deque<std::string> files_;
  bool directories_shown_ = false;
};

}  // namespace vmu
