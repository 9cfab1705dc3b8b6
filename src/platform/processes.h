// Other programs: start them, bring their window forward, wait for them.
#pragma once

#include <string>

namespace vmu {

enum class WindowStyle { Minimized, Maximized };

class Processes {
 public:
  virtual ~Processes() = default;

  // Starts a Windows-form command line as a separate program and returns its
  // task number at once; the program is not waited for.
  virtual double Start(const std::string& command_line, WindowStyle style) = 0;
  // Brings the task's window to the front; error 5 once the task has ended.
  virtual void Activate(double task_id) = 0;
  // Waits up to the given time for the task to end; true when it has ended.
  virtual bool WaitForEnd(double task_id, double seconds) = 0;
};

}  // namespace vmu
