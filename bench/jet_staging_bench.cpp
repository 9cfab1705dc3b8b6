// jet-staging-bench JET_FILE TABLE: times the copy of a Jet file into SQLite
// that the conversion reads, against mdb-export of TABLE to /dev/null (when
// mdbtools is installed), and prints the copy's peak resident memory.
// bench/jet_staging.sh makes the files and runs it.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/host/host_file_system.h"
#include "platform/mdb/mdb_jet_files.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// The largest resident size of the children ended so far, in KiB.
long ChildrenPeakKib() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss;
}

// Seconds that mdb-export takes for the table, or a negative number.
double MdbExport(const std::string& file, const std::string& table) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {"mdb-export", file.c_str(), table.c_str(), nullptr};
  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, "mdb-export", &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (rc != 0 || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return Seconds(start);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: jet-staging-bench JET_FILE TABLE\n";
    return 2;
  }
  namespace fs = std::filesystem;
  const std::string file = fs::absolute(argv[1]).string();
  std::string folder = (fs::temp_directory_path() / "vmu-jet-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) return 1;
  vmu::HostFileSystem files{vmu::DriveMap("/")};
  vmu::MdbJetFiles jet(files);

  const Clock::time_point start = Clock::now();
  const vmu::JetCopyOutcome outcome = jet.CopyToSqlite(files.WindowsPath(file), files.WindowsPath(folder + "/copy"));
  const double copy = Seconds(start);
  const long copy_peak = ChildrenPeakKib();
  fs::remove_all(folder);
  if (outcome.kind != vmu::JetCopyOutcome::Kind::kCopied) {
    std::cerr << "the copy failed: " << outcome.detail << '\n';
    return 1;
  }
  std::cout << file << ": " << outcome.rows << " rows in " << outcome.tables << " tables\n";
  std::cout << "  copy into SQLite   " << copy << " s, " << outcome.rows / copy << " rows/s, peak " << copy_peak
            << " KiB\n";
  const double export_seconds = MdbExport(file, argv[2]);
  if (export_seconds < 0) {
    std::cout << "  mdb-export         not run (mdbtools missing)\n";
    return 0;
  }
  std::cout << "  mdb-export " << argv[2] << "  " << export_seconds << " s, " << outcome.rows / export_seconds
            << " rows/s\n";
  std::cout << "  copy speed / mdb-export speed: " << export_seconds / copy << '\n';
  return 0;
}
