// vmupdate-script --unattended: the wizard with no window and no questions,
// for login scripts and timers. Each question gets the answer that changes
// nothing; the run ends with one summary line and an exit status.
#pragma once

#include <ostream>
#include <string>

namespace vmu {

enum UnattendedStatus {
  kInstalled = 0,
  kNothingToDo = 10,  // already installed, or the feed offers nothing newer
  kRefused = 11,      // the package, the feed or the installation said no; nothing changed
  kFailed = 12,       // an error, a failed download or installation; Velmora is as it was
};

struct UnattendedRequest {
  std::string package;         // Windows path of a package; empty: from the feed
  std::string program_folder;  // Windows path of another installation; empty: the one start-up finds
};

// Runs the request; prints the summary line on `out`. The prefix comes from WINEPREFIX.
int RunUnattended(const UnattendedRequest& request, std::ostream& out);

}  // namespace vmu
