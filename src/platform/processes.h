// Other programs: start them, bring their window forward, wait for them.
#pragma once

#include <string>

namespace vmu {

enum class WindowStyle { Minimized, Maximized };

// How a watched task ended and what it wrote.
struct TaskOutcome {
  int exit_status = -1;  // -1 when a signal ended it
  std::string output;    // standard output
  std::string errors;    // standard error
};

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
  // Like Start, but what the program writes is kept for Outcome.
  virtual double StartWatched(const std::string& command_line, WindowStyle style) = 0;
  // Once WaitForEnd has seen a watched task end: its outcome. Error 5 for
  // a task that was not watched or still runs.
  virtual TaskOutcome Outcome(double task_id) = 0;
};

}  // namespace vmu
