// Processes that start nothing: records command lines; tasks end at once,
// or after as many waits as the test says, with the outcome it scripts.
#pragma once

#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/processes.h"

namespace vmu::testing {

class FakeProcesses : public Processes {
 public:
  double Start(const std::string& command_line, WindowStyle) override {
    started.push_back(command_line);
    return static_cast<double>(started.size());
  }
  void Activate(double) override {
    if (tasks_end_at_once) Raise(kInvalidArgument);
  }
  bool WaitForEnd(double, double) override {
    if (waits_before_end == 0) return true;
    --waits_before_end;
    return false;
  }
  double StartWatched(const std::string& command_line, WindowStyle style) override {
    return Start(command_line, style);
  }
  TaskOutcome Outcome(double) override {
    if (waits_before_end > 0) Raise(kInvalidArgument);
    return outcome;
  }

  std::vector<std::string> started;
  bool tasks_end_at_once = true;
  int waits_before_end = 0;
  TaskOutcome outcome{0, "", ""};
};

}  // namespace vmu::testing
