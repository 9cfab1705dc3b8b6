// Programs started on this host: detached, reaped (no zombies), tracked so
// that activation can tell a task that has ended.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/processes.h"

namespace vmu {

class HostProcesses : public Processes {
 public:
  explicit HostProcesses(FileSystem& fs) : fs_(fs) {}
  ~HostProcesses() override;

  double Start(const std::string& command_line, WindowStyle style) override;
  void Activate(double task_id) override;
  bool WaitForEnd(double task_id, double seconds) override;
  double StartWatched(const std::string& command_line, WindowStyle style) override;
  TaskOutcome Outcome(double task_id) override;

  struct Task;

 private:
  double StartTask(const std::string& command_line, WindowStyle style, bool watched);
  std::shared_ptr<Task> Find(double task_id);
  FileSystem& fs_;
  std::mutex mutex_;
  std::map<long, std::shared_ptr<Task>> tasks_;
};

// Splits a Windows command line whose program path is not quoted and may hold
// blanks, the way Windows does: the shortest prefix, cut at a blank, that
// names an existing file is the program; the rest are arguments split at
// blanks (double quotes group). Raises 53 when no prefix names a file.
struct CommandLine {
  std::string program;  // Windows path
  std::vector<std::string> arguments;
};
CommandLine SplitCommandLine(FileSystem& fs, const std::string& command_line);

}  // namespace vmu
