#include "platform/host/host_processes.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "platform/error.h"
#include "testing/error_of.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

namespace fs = std::filesystem;
using testing::ErrorOf;
using testing::TestPrefix;

class PathVar {
 public:
  explicit PathVar(const std::string& value) {
    if (const char* old = getenv("PATH")) old_ = old;
    setenv("PATH", value.c_str(), 1);
  }
  ~PathVar() { old_ ? setenv("PATH", old_->c_str(), 1) : unsetenv("PATH"); }

 private:
  std::optional<std::string> old_;
};

void WriteScript(TestPrefix& p, const std::string& windows_path, const std::string& body) {
  p.Write(windows_path, "#!/bin/sh\n" + body);
  fs::permissions(p.Host(windows_path), fs::perms(0755));
}

// The state letter in /proc/<pid>/stat, or 0 when the process is gone.
char ProcessState(long pid) {
  const std::string stat = testing::ReadHostFile("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t paren = stat.rfind(')');
  return paren == std::string::npos || paren + 2 >= stat.size() ? 0 : stat[paren + 2];
}

TEST(SplitCommandLine, ProgramPathWithBlanksAndArguments) {
  TestPrefix p;
  p.Write("C:\\Program Files\\my tools\\run.exe", "x");
  p.Write("C:\\my", "x");
  p.Write("C:\\my prog.exe", "x");
  auto& fs = p.fs();

  CommandLine line =
      SplitCommandLine(fs, "  C:\\program files\\MY TOOLS\\run.exe /auto C:\\a b\\  \"two  words\" \"\"");
  EXPECT_EQ(line.program, "C:\\program files\\MY TOOLS\\run.exe");
  EXPECT_EQ(line.arguments, (std::vector<std::string>{"/auto", "C:\\a", "b\\", "two  words", ""}));

  // The shortest prefix that names a file wins, as on Windows.
  line = SplitCommandLine(fs, "C:\\my prog.exe x");
  EXPECT_EQ(line.program, "C:\\my");
  EXPECT_EQ(line.arguments, (std::vector<std::string>{"prog.exe", "x"}));
  line = SplitCommandLine(fs, "\"C:\\my prog.exe\" x\"y z\"");
  EXPECT_EQ(line.program, "C:\\my prog.exe");
  EXPECT_EQ(line.arguments, (std::vector<std::string>{"xy z"}));

  EXPECT_EQ(ErrorOf([&] { SplitCommandLine(fs, "C:\\Program Files\\none.exe /auto"); }), kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { SplitCommandLine(fs, "\"C:\\none\" x"); }), kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { SplitCommandLine(fs, "   "); }), kFileNotFound);
}

TEST(HostProcesses, StartsDetachedAndReapsTheProgram) {
  TestPrefix p;
  const std::string dir = p.Host("C:\\Program Files\\my tools");
  WriteScript(p, "C:\\Program Files\\my tools\\run.sh",
              "d='" + dir +
                  "'\n"
                  "while [ ! -e \"$d/go\" ]; do sleep 0.02; done\n"
                  "printf '%s\\n' \"$@\" > \"$d/args.txt\"\n"
                  "cut -d' ' -f6 /proc/$$/stat > \"$d/sid.txt\"\n"
                  "cat > \"$d/stdin.txt\"\n");
  HostProcesses processes(p.fs());

  const double task = processes.Start("C:\\PROGRAM FILES\\My Tools\\run.sh /auto \"C:\\users\\a b\\Update\\\" x",
                                      WindowStyle::Minimized);
  const long pid = static_cast<long>(task);
  EXPECT_EQ(ErrorOf([&] { processes.Activate(task); }), 0);  // still waiting for "go"
  EXPECT_FALSE(processes.WaitForEnd(task, 0));

  testing::WriteHostFile(dir + "/go", "");
  ASSERT_TRUE(processes.WaitForEnd(task, 60));
  EXPECT_EQ(ErrorOf([&] { processes.Activate(task); }), kInvalidArgument);
  EXPECT_TRUE(processes.WaitForEnd(task, 0));
  EXPECT_NE(ProcessState(pid), 'Z');

  EXPECT_EQ(testing::ReadHostFile(dir + "/args.txt"), "/auto\nC:\\users\\a b\\Update\\\nx\n");
  EXPECT_EQ(testing::ReadHostFile(dir + "/sid.txt"), std::to_string(pid) + "\n");  // its own session
  EXPECT_EQ(testing::ReadHostFile(dir + "/stdin.txt"), "");
}

TEST(HostProcesses, AWatchedTaskStartsByItsQuotedPathAndReportsItsOutcome) {
  TestPrefix p;
  // A file named like the first word of the folder is not started.
  WriteScript(p, "C:\\Mijn", "echo verkeerd\n");
  const std::string program = "C:\\Mijn Programmas\\velmora\\Update\\VMU_ZP.exe";
  WriteScript(p, program, "sleep 0.2; printf '%s\\n' \"$@\"; echo reden >&2; exit 3\n");
  HostProcesses processes(p.fs());

  const double task = processes.StartWatched("\"" + program + "\" /auto \"C:\\Mijn Programmas\\velmora\\Update\"",
                                             WindowStyle::Minimized);
  EXPECT_EQ(ErrorOf([&] { processes.Outcome(task); }), kInvalidArgument);  // still running
  ASSERT_TRUE(processes.WaitForEnd(task, 60));
  const TaskOutcome outcome = processes.Outcome(task);
  EXPECT_EQ(outcome.exit_status, 3);
  EXPECT_EQ(outcome.output, "/auto\nC:\\Mijn Programmas\\velmora\\Update\n");
  EXPECT_EQ(outcome.errors, "reden\n");
}

TEST(HostProcesses, RefusesWhatCannotRun) {
  TestPrefix p;
  p.Write("C:\\x\\data.txt", "not a program");
  HostProcesses processes(p.fs());
  EXPECT_EQ(ErrorOf([&] { processes.Start("C:\\x\\missing.exe", WindowStyle::Maximized); }), kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { processes.Start("C:\\x\\data.txt", WindowStyle::Maximized); }), kPermissionDenied);
  EXPECT_EQ(ErrorOf([&] { processes.Activate(12345678); }), kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { processes.Activate(-1); }), kInvalidArgument);
  EXPECT_EQ(ErrorOf([&] { processes.WaitForEnd(0.5, 1); }), kInvalidArgument);
}

TEST(HostProcesses, WindowsProgramsGoThroughWine) {
  TestPrefix p;
  p.Write("C:\\pkg\\VMU_ZP.exe", "MZ\x90 rest of a Windows program");
  const std::string bin = p.prefix() + "/bin";
  const std::string out = p.prefix() + "/wine-args.txt";
  testing::WriteHostFile(bin + "/wine", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out + "'\n");
  fs::permissions(bin + "/wine", fs::perms(0755));
  HostProcesses processes(p.fs());

  {
    PathVar path(p.prefix() + "/nowhere:" + bin);
    const double task = processes.Start("C:\\pkg\\VMU_ZP.exe /auto C:\\u\\", WindowStyle::Minimized);
    ASSERT_TRUE(processes.WaitForEnd(task, 60));
  }
  EXPECT_EQ(testing::ReadHostFile(out), p.Host("C:\\pkg\\VMU_ZP.exe") + "\n/auto\nC:\\u\\\n");

  PathVar path(p.prefix() + "/nowhere");
  EXPECT_EQ(ErrorOf([&] { processes.Start("C:\\pkg\\VMU_ZP.exe /auto C:\\u\\", WindowStyle::Minimized); }),
            kFileNotFound);
}

}  // namespace
}  // namespace vmu
