#include "wizard/install_progress.h"

namespace vmu {

namespace {

const char* const kPhaseTexts[] = {"Bestanden veiligstellen...", "Bestanden installeren...",
                                   "Wegschrijven naar schijf...", "Opruimen..."};

// A bar is a few hundred pixels wide: more updates only cost paint time.
constexpr int kBarSteps = 200;

}  // namespace

void InstallProgress::Start(const std::array<int, 4>& steps) {
  if (steps[static_cast<int>(InstallPhase::Copy)] == 0) return;
  steps_ = steps;
  total_ = 0;
  for (int n : steps_) total_ += n;
  view_.SetProgressMax(total_);
  Show(0);
  view_.SetVisible(Control::Pbr, true);
  visible_ = true;
}

void InstallProgress::Begin(InstallPhase phase) {
  if (!visible_) return;
  int start = 0;
  for (int p = 0; p < static_cast<int>(phase); ++p) start += steps_[p];
  phase_end_ = start + steps_[static_cast<int>(phase)];
  Show(start);
  view_.SetText(Control::Label2, kPhaseTexts[static_cast<int>(phase)]);
  // The handler holds the event loop until the work is done: the status
  // line paints now, the bar then paints itself at each step.
  view_.Redraw();
}

void InstallProgress::Step() {
  if (!visible_ || value_ >= phase_end_) return;
  const int value = value_ + 1;
  if (value == phase_end_ || value * kBarSteps / total_ != shown_ * kBarSteps / total_) Show(value);
  value_ = value;
}

void InstallProgress::Finish() {
  if (!visible_) return;
  visible_ = false;
  view_.SetText(Control::Label2, "");
  view_.SetVisible(Control::Pbr, false);
}

void InstallProgress::Show(int value) {
  value_ = value;
  if (value == shown_) return;
  shown_ = value;
  view_.SetProgressValue(value);
}

}  // namespace vmu
