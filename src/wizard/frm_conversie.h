// The wizard window FrmConversie: its state, the step machine and the
// handlers of its buttons. The view does the showing; this does the deciding.
#pragma once

#include <functional>
#include <string>

#include "files/run_context.h"
#include "wizard/wizard_state.h"
#include "wizard/wizard_view.h"

namespace vmu {

class FrmConversie;
class InstallProgress;

// The work of pages 2 and 3. Each runs inside a press; an error it raises
// reaches the press's error handling.
struct StepWork {
  std::function<void(FrmConversie&)> package_step;  // Stap 2 van 3
  std::function<void(FrmConversie&)> update_step;   // Stap 3 van 3
  // Puts the previous files back after an error during installation.
  std::function<void(FrmConversie&)> automatic_restore;
};
StepWork DefaultSteps();

enum class CloseMode { User, Code };

class FrmConversie {
 public:
  FrmConversie(RunContext& ctx, WizardView& view, StepWork steps = DefaultSteps());

  // Sets the start texts and enters step 1.
  void Load();
  // The step machine: 0 back, 1 next.
  void CmdWizard_Click(int index);
  void CancelButton_Click();
  // True when the close is refused.
  bool QueryUnload(CloseMode mode);
  void Unload();
  // Closes the window as the close box (User) or the program's own code
  // (Code) asks, and ends the program unless the close is refused.
  void Close(CloseMode mode);
  void CmdStartApp_Click();
  // The roll-back button: asks twice, then puts back the files the last
  // installation replaced.
  void cmdTurnBack_Click();

  // Creates a working folder or empties it of files; traps its own errors.
  void CheckDir(const std::string& folder);
  // Restores the backup folders; only a completed installation also lowers
  // "VersionUpdate". False (after its own message) when it failed.
  bool fTurnBack(bool completed_installation);

  void LogText(const std::string& text);
  // Runs one action of a step; error 5 is logged and passed over as the
  // press's error handling does, any other error goes on to the caller.
  void ResumeOnError5(const std::function<void()>& action);
  // The result page (success or failure by FailureFlag), shown once its
  // clean-up is done; an installation's progress bar runs on through it.
  void ShowResultPage(InstallProgress* progress = nullptr);

  RunContext& ctx;
  WizardView& view;
  WizardState state;
  PressState press;

 private:
  void RunStepWork();
  void HandlePressError(int number, const std::string& description);
  void LogFailure(int number, const std::string& description);
  void WelcomePage();
  void CleanUpUpdateFolder(InstallProgress* progress);

  StepWork steps_;
};

}  // namespace vmu
