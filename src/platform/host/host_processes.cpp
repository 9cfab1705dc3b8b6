#include "platform/host/host_processes.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <optional>
#include <thread>

#include "platform/error.h"
#include "platform/host/host_file_system.h"

extern char** environ;

namespace vmu {

struct HostProcesses::Task {
  pid_t pid = 0;
  std::mutex mutex;
  std::condition_variable changed;
  bool ended = false;
  bool watched = false;
  bool read_all = false;  // both pipes reached their end
  int status = -1;
  std::string output, errors;
};

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Arguments split at blanks; double quotes group and are dropped. Backslashes
// are plain characters: they separate Windows folders.
std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  while (pos < text.size()) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    if (pos == text.size()) break;
    std::string argument;
    bool quoted = false;
    for (; pos < text.size() && (quoted || !IsBlank(text[pos])); ++pos) {
      if (text[pos] == '"') quoted = !quoted;
      else argument += text[pos];
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::optional<std::string> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    if (dir.empty()) dir.assign(1, '.');  // the current folder
    const std::string candidate = dir + "/" + name;
    struct stat st;
    if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
      return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    dirs.remove_prefix(colon + 1);
  }
}

// A Windows program starts with the two bytes "MZ".
bool IsWindowsProgram(const std::string& host_path) {
  const int fd = open(host_path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Raise(ErrorNumberForErrno(errno, host_path));
  char magic[2] = {0, 0};
  const ssize_t n = read(fd, magic, 2);
  close(fd);
  return n == 2 && magic[0] == 'M' && magic[1] == 'Z';
}

// What one watched task may leave for us to read; more is read and dropped,
// so that the program never blocks on a full pipe.
constexpr std::size_t kMostOutput = 64u << 20;

// Detached from us: its own session, no terminal input, our environment.
// `out`: the write ends of the pipes for standard output and error, or -1.
pid_t Spawn(const std::vector<std::string>& argv, const int out[2]) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (out[0] >= 0) {
    posix_spawn_file_actions_adddup2(&actions, out[0], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
  }
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, reset;
  sigemptyset(&none);
  sigemptyset(&reset);
  for (int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGCHLD, SIGUSR1, SIGUSR2, SIGTSTP, SIGTTIN, SIGTTOU})
    sigaddset(&reset, sig);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &reset);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) Raise(rc == ENOEXEC ? kPermissionDenied : ErrorNumberForErrno(rc, argv[0]));
  return pid;
}

}  // namespace

CommandLine SplitCommandLine(FileSystem& fs, const std::string& command_line) {
  std::size_t start = 0;
  while (start < command_line.size() && IsBlank(command_line[start])) ++start;
  CommandLine result;
  std::size_t rest = std::string::npos;
  if (start < command_line.size() && command_line[start] == '"') {
    const std::size_t close = command_line.find('"', start + 1);
    result.program = command_line.substr(start + 1, close == std::string::npos ? std::string::npos : close - start - 1);
    if (!fs.FileExists(result.program)) Raise(kFileNotFound);
    rest = close == std::string::npos ? std::string::npos : close + 1;
  } else {
    // Unquoted, the program path may hold blanks: the shortest cut at a blank
    // that names an existing file wins, as on Windows.
    for (std::size_t cut = start;; ++cut) {
      cut = command_line.find_first_of(" \t", cut);
      const std::string candidate =
          command_line.substr(start, cut == std::string::npos ? std::string::npos : cut - start);
      if (!candidate.empty() && fs.FileExists(candidate)) {
        result.program = candidate;
        rest = cut;
        break;
      }
      if (cut == std::string::npos) Raise(kFileNotFound);
    }
  }
  if (rest != std::string::npos) result.arguments = SplitArguments(std::string_view(command_line).substr(rest));
  return result;
}

HostProcesses::~HostProcesses() = default;

namespace {

// Reads both pipes to their end into the task; owns the read ends.
void ReadPipes(const std::shared_ptr<HostProcesses::Task>& task, int out, int err);

}  // namespace

double HostProcesses::Start(const std::string& command_line, WindowStyle style) {
  return StartTask(command_line, style, false);
}

double HostProcesses::StartWatched(const std::string& command_line, WindowStyle style) {
  return StartTask(command_line, style, true);
}

double HostProcesses::StartTask(const std::string& command_line, WindowStyle, bool watched) {
  // The window style has no meaning for a host program: nothing portable
  // would let us size another program's window.
  const CommandLine line = SplitCommandLine(fs_, command_line);
  const std::string program = fs_.HostPath(line.program);
  std::vector<std::string> argv;
  if (IsWindowsProgram(program)) {
    // Without wine a Windows program cannot run here: the program that is
    // missing is wine, so "File not found".
    const std::optional<std::string> wine = FindOnPath("wine");
    if (!wine) Raise(kFileNotFound);
    argv = {*wine, program};
  } else {
    if (access(program.c_str(), X_OK) != 0) Raise(kPermissionDenied);
    argv = {program};
  }
  // Arguments stay in Windows form: the programs we start map them themselves.
  argv.insert(argv.end(), line.arguments.begin(), line.arguments.end());

  auto task = std::make_shared<Task>();
  task->watched = watched;
  int out_pipe[2] = {-1, -1}, err_pipe[2] = {-1, -1};
  if (watched && (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0)) {
    for (int fd : {out_pipe[0], out_pipe[1]})
      if (fd >= 0) close(fd);
    Raise(kPathFileAccessError);
  }
  const int write_ends[2] = {out_pipe[1], err_pipe[1]};
  try {
    task->pid = Spawn(argv, write_ends);
  } catch (...) {
    for (int fd : {out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]})
      if (fd >= 0) close(fd);
    throw;
  }
  if (watched) {
    close(out_pipe[1]);
    close(err_pipe[1]);
    std::thread([task, out = out_pipe[0], err = err_pipe[0]] { ReadPipes(task, out, err); }).detach();
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_[task->pid] = task;
  }
  // Reaps the child (no zombie stays behind) and records that it ended. The
  // thread owns its share of the task, so it may outlive this object.
  std::thread([task] {
    int status;
    while (waitpid(task->pid, &status, 0) < 0 && errno == EINTR) {
    }
    std::lock_guard<std::mutex> lock(task->mutex);
    task->ended = true;
    task->status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    task->changed.notify_all();
  }).detach();
  return task->pid;
}

namespace {

void ReadPipes(const std::shared_ptr<HostProcesses::Task>& task, int out, int err) {
  pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
  char buffer[65536];
  int open_pipes = 2;
  while (open_pipes > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_pipes;
        continue;
      }
      std::lock_guard<std::mutex> lock(task->mutex);
      std::string& text = i == 0 ? task->output : task->errors;
      if (text.size() < kMostOutput) text.append(buffer, std::min<std::size_t>(n, kMostOutput - text.size()));
    }
  }
  for (const pollfd& fd : fds)
    if (fd.fd >= 0) close(fd.fd);
  std::lock_guard<std::mutex> lock(task->mutex);
  task->read_all = true;
  task->changed.notify_all();
}

}  // namespace

namespace {

std::optional<long> TaskKey(double task_id) {
  if (!std::isfinite(task_id) || task_id < 1 || task_id > INT_MAX || task_id != std::floor(task_id))
    return std::nullopt;
  return static_cast<long>(task_id);
}

}  // namespace

void HostProcesses::Activate(double task_id) {
  std::shared_ptr<Task> task;
  if (std::optional<long> key = TaskKey(task_id)) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto it = tasks_.find(*key); it != tasks_.end()) task = it->second;
  }
  if (!task) Raise(kInvalidArgument);
  std::lock_guard<std::mutex> lock(task->mutex);
  if (task->ended) Raise(kInvalidArgument);
  // It still runs; raising another program's window has no portable means
  // here, so there is nothing more to do.
}

std::shared_ptr<HostProcesses::Task> HostProcesses::Find(double task_id) {
  std::shared_ptr<Task> task;
  if (std::optional<long> key = TaskKey(task_id)) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (auto it = tasks_.find(*key); it != tasks_.end()) task = it->second;
  }
  if (!task) Raise(kInvalidArgument);
  return task;
}

TaskOutcome HostProcesses::Outcome(double task_id) {
  const std::shared_ptr<Task> task = Find(task_id);
  std::unique_lock<std::mutex> lock(task->mutex);
  if (!task->watched || !task->ended) Raise(kInvalidArgument);
  // A program it left behind may hold the pipes open: what came by then is
  // what the task wrote.
  task->changed.wait_for(lock, std::chrono::seconds(2), [&] { return task->read_all; });
  return {task->status, task->output, task->errors};
}

bool HostProcesses::WaitForEnd(double task_id, double seconds) {
  const std::shared_ptr<Task> task = Find(task_id);
  const double limit = std::isnan(seconds) ? 0.0 : std::clamp(seconds, 0.0, 1e7);
  std::unique_lock<std::mutex> lock(task->mutex);
  return task->changed.wait_for(lock, std::chrono::duration<double>(limit), [&] { return task->ended; });
}

}  // namespace vmu
