// The host's processes, with every start written to the transcript.
#pragma once

#include <ostream>

#include "platform/processes.h"

namespace vmu {

class ScriptProcesses : public Processes {
 public:
  ScriptProcesses(Processes& host, std::ostream& out) : host_(host), out_(out) {}

  double Start(const std::string& command_line, WindowStyle style) override;
  void Activate(double task_id) override { host_.Activate(task_id); }
  bool WaitForEnd(double task_id, double seconds) override { return host_.WaitForEnd(task_id, seconds); }
  double StartWatched(const std::string& command_line, WindowStyle style) override;
  TaskOutcome Outcome(double task_id) override { return host_.Outcome(task_id); }

 private:
  Processes& host_;
  std::ostream& out_;
};

}  // namespace vmu
