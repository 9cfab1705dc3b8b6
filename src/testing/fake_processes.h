// Processes that start nothing: records command lines; tasks end at once.
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
  bool WaitForEnd(double, double) override { return true; }

  std::vector<std::string> started;
  bool tasks_end_at_once = true;
};

}  // namespace vmu::testing
