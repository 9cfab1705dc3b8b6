// The headless driver: reads user actions, one per line, runs them on the
// wizard logic and prints the transcript.
#pragma once

#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "platform/file_system.h"
#include "wizard/wizard_view.h"

namespace vmu {

// The real window, for sessions that also drive it (offscreen).
class ScriptWindow {
 public:
  virtual ~ScriptWindow() = default;
  virtual WizardView& Window(FileSystem& fs) = 0;
  // Lets the window settle and saves a picture of it under the given name.
  virtual void Snapshot(const std::string& name) = 0;
};

struct ScriptOptions {
  // Runs the wizard as a maintenance build does (service buttons shown).
  bool maintenance = false;
  // The file system the wizard's logic works through, given the host's one
  // (for tests that break it on purpose); none: the host's own.
  std::function<FileSystem*(FileSystem& host)> file_system;
};

// Exit status: 0 normally; 2 for a script error; 3 when a dialog had no
// queued answer; 4 when answers were left over; 5 for a press on a control
// a user could not press.
int RunScript(std::istream& in, std::ostream& out, ScriptWindow* window = nullptr, const ScriptOptions& options = {});

}  // namespace vmu
