// The progress bar while the package's files are installed: one step per
// file, so that a package of many files shows that it is moving.
#pragma once

#include <vector>

#include "wizard/file_list_entries.h"
#include "wizard/wizard_view.h"

namespace vmu {

class InstallProgress {
 public:
  // Shows the bar at 0 of the entries that are installed; nothing for a
  // list that installs nothing.
  InstallProgress(WizardView& view, const std::vector<InstallEntry>& entries);
  // Hides the bar again, also when the installation stops on an error.
  ~InstallProgress();
  InstallProgress(const InstallProgress&) = delete;
  InstallProgress& operator=(const InstallProgress&) = delete;

  // One more file is in place.
  void FileDone();

 private:
  WizardView& view_;
  int files_ = 0;
  int done_ = 0;
};

}  // namespace vmu
