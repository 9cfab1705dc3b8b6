#include "platform/mdb/mdb_jet_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

#include "platform/error.h"
#include "platform/mdb/jet_to_sqlite.h"

namespace vmu {

namespace {

// The child's report on its pipe: kind, error number, counts, then the text.
enum Report : char { kCopied = 'C', kEncrypted = 'E', kUnreadable = 'U', kRaised = 'R' };

// A copy that takes longer than this is stuck in a damaged file, or waits
// on a lock a thread of the parent held when it forked: the alarm ends a
// child that waits, the CPU limit one that spins.
constexpr rlim_t kCpuSeconds = 3600;

void WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0 && errno != EINTR) return;
    if (n > 0) done += static_cast<size_t>(n);
  }
}

[[noreturn]] void RunChild(int fd, const std::string& jet_file, const std::string& sqlite_file) {
  const rlimit cpu{kCpuSeconds, kCpuSeconds};
  setrlimit(RLIMIT_CPU, &cpu);
  signal(SIGALRM, SIG_DFL);
  alarm(static_cast<unsigned>(kCpuSeconds));
  // libmdb writes its complaints about a damaged file to standard error; the
  // report says what matters.
  const int null = open("/dev/null", O_WRONLY);
  if (null >= 0) dup2(null, STDERR_FILENO);
  std::string report;
  try {
    const JetCopyOutcome o = CopyJetTablesToSqlite(jet_file, sqlite_file);
    const char kind = o.kind == JetCopyOutcome::Kind::kCopied      ? kCopied
                      : o.kind == JetCopyOutcome::Kind::kEncrypted ? kEncrypted
                                                                   : kUnreadable;
    report = std::string(1, kind) + " 0 " + std::to_string(o.tables) + " " + std::to_string(o.rows) + " " + o.detail;
  } catch (const VbError& e) {
    report = std::string(1, kRaised) + " " + std::to_string(e.number()) + " 0 0 " + e.description();
  } catch (const std::exception& e) {
    report = std::string(1, kUnreadable) + " 0 0 0 " + e.what();
  }
  WriteAll(fd, report);
  _exit(0);
}

std::string ReadAll(int fd) {
  std::string bytes;
  char buf[4096];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0) bytes.append(buf, static_cast<size_t>(n));
    else if (n == 0 || errno != EINTR) return bytes;
  }
}

}  // namespace

DatabaseFormat MdbJetFiles::FormatOf(const std::string& path) {
  if (!fs_.FileExists(path)) return DatabaseFormat::kMissing;
  std::ifstream in(fs_.HostPath(path), std::ios::binary);
  char header[32] = {};
  in.read(header, sizeof header);
  return FormatOfHeader(std::string_view(header, static_cast<size_t>(in.gcount())));
}

JetCopyOutcome MdbJetFiles::CopyToSqlite(const std::string& jet_path, const std::string& sqlite_path) {
  if (!fs_.FileExists(jet_path)) Raise(kFileNotFound);
  if (fs_.FileExists(sqlite_path)) Raise(kFileAlreadyExists);
  const std::string jet_file = fs_.HostPath(jet_path);
  const std::string sqlite_file = fs_.HostPath(sqlite_path);
  int fds[2];
  if (pipe(fds) != 0) Raise(kPathFileAccessError, "pipe failed");
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    Raise(kPathFileAccessError, "fork failed");
  }
  if (child == 0) {
    close(fds[0]);
    RunChild(fds[1], jet_file, sqlite_file);
  }
  close(fds[1]);
  const std::string report = ReadAll(fds[0]);
  close(fds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }

  JetCopyOutcome outcome;
  char kind = 0;
  int number = 0;
  int text_at = 0;
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
      std::sscanf(report.c_str(), "%c %d %ld %ld %n", &kind, &number, &outcome.tables, &outcome.rows, &text_at) >= 4) {
    outcome.detail = report.substr(static_cast<size_t>(text_at));
  } else {
    kind = kUnreadable;
    outcome.detail =
        WIFSIGNALED(status) ? "the reader stopped on signal " + std::to_string(WTERMSIG(status)) : "the reader stopped";
  }
  if (kind == kCopied) return outcome;
  RemoveCopy(sqlite_path);
  if (kind == kRaised) Raise(number, outcome.detail);
  outcome.kind = kind == kEncrypted ? JetCopyOutcome::Kind::kEncrypted : JetCopyOutcome::Kind::kUnreadable;
  outcome.tables = outcome.rows = 0;
  return outcome;
}

void MdbJetFiles::RemoveCopy(const std::string& sqlite_path) {
  try {
    if (fs_.FileExists(sqlite_path)) fs_.DeleteFile(sqlite_path);
  } catch (const VbError&) {
    // Left for the next start, which removes every copy it finds.
  }
}

}  // namespace vmu
