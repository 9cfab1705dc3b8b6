// What the user sees of a conversion while it runs, and of the comparison
// report: the main text, the status line, the progress bar, the timed notice
// window and message boxes. The wizard shows them on its window.
#pragma once

#include <string>

namespace vmu {

class ConversionDisplay {
 public:
  virtual ~ConversionDisplay() = default;

  // Adds a paragraph, on a line of its own, to the main text.
  virtual void AddToMainText(const std::string& text) = 0;
  // The line that says what is being done now.
  virtual void SetStatus(const std::string& text) = 0;
  // Shows the progress bar at 0 of steps.
  virtual void StartProgress(int steps) = 0;
  // Moves the bar on by one step.
  virtual void StepProgress() = 0;
  virtual void HideProgress() = 0;
  // Rows copied so far of the table being copied; at most a few times a
  // second, and only for a table that takes that long.
  virtual void TableProgress(long /*done*/, long /*count*/) {}
  // From here on the conversion can no longer be cancelled.
  virtual void HideCancel() = 0;
  // Repaints at once, in the middle of long work.
  virtual void Redraw() = 0;
  // Makes the notice window when it does not exist, which starts its timer.
  virtual void PrepareNotice() = 0;
  // Shows the notice window with the text until its timer has closed it.
  virtual void ShowNotice(const std::string& text) = 0;
  // A message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;
};

// Shows nothing: for runs without a window (the benchmark, the package
// maker's dry run, which overrides what it prints).
class QuietDisplay : public ConversionDisplay {
 public:
  void AddToMainText(const std::string&) override {}
  void SetStatus(const std::string&) override {}
  void StartProgress(int) override {}
  void StepProgress() override {}
  void HideProgress() override {}
  void HideCancel() override {}
  void Redraw() override {}
  void PrepareNotice() override {}
  void ShowNotice(const std::string&) override {}
  void ShowMessage(const std::string&) override {}
};

}  // namespace vmu
