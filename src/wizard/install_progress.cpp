#include "wizard/install_progress.h"

#include "package/file_list.h"

namespace vmu {

InstallProgress::InstallProgress(WizardView& view, const std::vector<InstallEntry>& entries) : view_(view) {
  for (const InstallEntry& entry : entries) {
    if (package::IsInstalledLocation(entry.location)) ++files_;
  }
  if (files_ == 0) return;
  view_.SetProgressMax(files_);
  view_.SetProgressValue(0);
  view_.SetVisible(Control::Pbr, true);
  // The handler holds the event loop until the last file: the bar needs its
  // place in the window now, each step then paints itself.
  view_.Redraw();
}

InstallProgress::~InstallProgress() {
  if (files_ > 0) view_.SetVisible(Control::Pbr, false);
}

void InstallProgress::FileDone() {
  if (done_ >= files_) return;
  view_.SetProgressValue(++done_);
}

}  // namespace vmu
