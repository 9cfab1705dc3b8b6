// Drives the real window and the transcript together: every change goes to
// both, dialogs are answered by the script, and what the controls show is
// read back from the real window.
#pragma once

#include "views/headless/script_view.h"

namespace vmu {

class TeeView : public WizardView {
 public:
  TeeView(ScriptView& recorder, WizardView& window) : recorder_(recorder), window_(window) {}

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
  // The modal windows are answered by the script: a real notice would hold
  // every scripted step for two seconds.
  void ShowNotice(const std::string& text) override { recorder_.ShowNotice(text); }
  // The real information window is shown too, for its picture: the
  // offscreen window shows it without waiting (OffscreenGui).
  void ShowInfo(const std::string& title, const std::string& label, const std::string& text) override {
    recorder_.ShowInfo(title, label, text);
    window_.ShowInfo(title, label, text);
  }
  void ShowDirectories() override;
  void SetDirectoriesText(const std::string& text) override;
  ControlState Inspect(Control c) override { return window_.Inspect(c); }
  Answer ShowMessage(const MessageBoxSpec& request) override { return recorder_.ShowMessage(request); }
  std::string ShowOpenFile(const FileDialogSpec& request) override { return recorder_.ShowOpenFile(request); }

 private:
  ScriptView& recorder_;
  WizardView& window_;
};

}  // namespace vmu
