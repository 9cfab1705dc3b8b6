// The progress bar and status line while an update installs. Each phase
// (keeping the previous files, copying, writing to disk, clearing the
// unpacked package) gets a share of the bar by the files it handles, so a
// long installation never stands still on a full bar.
#pragma once

#include <array>
#include <string>

#include "wizard/wizard_view.h"

namespace vmu {

enum class InstallPhase { Keep, Copy, Flush, CleanUp };

class InstallProgress {
 public:
  explicit InstallProgress(WizardView& view) : view_(view) {}
  // Hides the bar again, also when the installation stops on an error.
  ~InstallProgress() { Finish(); }
  InstallProgress(const InstallProgress&) = delete;
  InstallProgress& operator=(const InstallProgress&) = delete;

  // Shows the bar at 0 for phases of these sizes (steps each); nothing when
  // no file is copied.
  void Start(const std::array<int, 4>& steps);
  // Names the phase in the status line and moves the bar to its start.
  void Begin(InstallPhase phase);
  // One step of the running phase is done.
  void Step();
  // Hides the bar and empties the status line.
  void Finish();

 private:
  void Show(int value);

  WizardView& view_;
  std::array<int, 4> steps_{};
  int total_ = 0;
  int phase_end_ = 0;
  int value_ = 0;
  int shown_ = -1;
  bool visible_ = false;
};

}  // namespace vmu
