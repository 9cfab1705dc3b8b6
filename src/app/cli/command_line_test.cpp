#include "app/cli/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>

#include "testing/temp_dir.h"

namespace vmu::cli {
namespace {

const Program kProgram{"prog", "usage: prog [--gui] [--shots DIR] [FILE]\n"};
const std::vector<Option> kOptions{{"--gui", false}, {"--shots", true}};

struct ParseCase {
  std::vector<std::string> args;
  std::optional<int> status;
  std::string out, err;
  std::vector<std::pair<std::string, std::string>> options;
  std::vector<std::string> operands;
};

TEST(CommandLine, AnswersHelpVersionAndMistakesAndReadsOptionsAndOperands) {
  const std::string usage = kProgram.usage;
  const std::string version = VersionLine("prog") + "\n";
  const std::vector<ParseCase> cases = {
      {{}, std::nullopt, "", "", {}, {}},
      {{"a", "-", "b"}, std::nullopt, "", "", {}, {"a", "-", "b"}},
      {{"--help"}, 0, usage, "", {}, {}},
      {{"file", "-h"}, 0, usage, "", {}, {}},
      {{"file", "--version"}, 0, version, "", {}, {}},
      {{"--frob"}, 2, "", "prog: unknown option '--frob'\n" + usage, {}, {}},
      {{"-x", "file"}, 2, "", "prog: unknown option '-x'\n" + usage, {}, {}},
      {{"--help=1"}, 2, "", "prog: unknown option '--help=1'\n" + usage, {}, {}},
      // The first problem from the left decides, as a user reads the line.
      {{"--frob", "--help"}, 2, "", "prog: unknown option '--frob'\n" + usage, {}, {}},
      {{"--gui", "--shots"}, 2, "", "prog: option '--shots' needs a value\n" + usage, {}, {}},
      {{"--gui=yes"}, 2, "", "prog: option '--gui' takes no value\n" + usage, {}, {}},
      // An option's value is taken as it stands, even when it looks like an option.
      {{"--shots", "--help"}, std::nullopt, "", "", {{"--shots", "--help"}}, {}},
      {{"--shots=out dir", "--gui", "s.txt"}, std::nullopt, "", "", {{"--shots", "out dir"}, {"--gui", ""}}, {"s.txt"}},
      {{"--shots=", "x"}, std::nullopt, "", "", {{"--shots", ""}}, {"x"}},
      {{"--", "--help", "-x"}, std::nullopt, "", "", {}, {"--help", "-x"}},
      // The last value of an option counts.
      {{"--shots", "a", "--gui", "--shots=b"},
       std::nullopt,
       "",
       "",
       {{"--shots", "a"}, {"--gui", ""}, {"--shots", "b"}},
       {}},
  };
  for (const ParseCase& c : cases) {
    std::vector<const char*> argv{"prog"};
    for (const std::string& a : c.args) argv.push_back(a.c_str());
    std::ostringstream out, err;
    Arguments args;
    const auto status = Parse(kProgram, static_cast<int>(argv.size()), argv.data(), kOptions, args, out, err);
    const std::string where = c.args.empty() ? "(none)" : c.args.front() + " ...";
    EXPECT_EQ(status, c.status) << where;
    EXPECT_EQ(out.str(), c.out) << where;
    EXPECT_EQ(err.str(), c.err) << where;
    if (status) continue;
    EXPECT_EQ(args.options, c.options) << where;
    EXPECT_EQ(args.operands, c.operands) << where;
    if (!c.options.empty()) EXPECT_EQ(args.Value(c.options.back().first), c.options.back().second) << where;
    EXPECT_EQ(args.Value("--absent"), "");
  }
}

// The programs themselves, as a user calls them.
struct Ran {
  int status = -1;
  std::string out, err;
};

// A program built beside this one. No display and a toolkit that needs one:
// VM_Update must answer before it starts its window.
Ran RunBeside(const std::string& command_line) {
  testing::TempDir dir;
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb " +
                              std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/" +
                              command_line;
  const int raw = std::system((command + " >" + dir.Sub("out") + " 2>" + dir.Sub("err") + " </dev/null").c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing::ReadHostFile(dir.Sub("out")),
          testing::ReadHostFile(dir.Sub("err"))};
}

TEST(CommandLine, EveryProgramAnswersHelpAndVersionAndRefusesUnknownOptions) {
  for (const std::string name :
       {"VM_Update", "vmupdate-script", "vmu-pack", "vmupdate-demo", "conversion-bench", "vmu-unpacker"}) {
    const Ran help = RunBeside(name + " --help");
    EXPECT_EQ(help.status, 0) << name;
    EXPECT_EQ(help.out.rfind("usage: " + name, 0), 0u) << name << ": " << help.out;
    EXPECT_EQ(help.err, "") << name;

    const Ran version = RunBeside(name + " --version");
    EXPECT_EQ(version.status, 0) << name;
    EXPECT_TRUE(std::regex_match(version.out, std::regex(name + " [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
    EXPECT_EQ(version.err, "") << name;

    const Ran unknown = RunBeside(name + " --no-such-option");
    EXPECT_EQ(unknown.status, 2) << name;
    EXPECT_EQ(unknown.out, "") << name;
    EXPECT_EQ(unknown.err, name + ": unknown option '--no-such-option'\n" + help.out) << name;
  }
}

TEST(CommandLine, ProgramsRefuseMissingOrExtraOperandsWithTheirUsage) {
  struct Case {
    std::string command, first_line;
  };
  const std::vector<Case> cases = {
      {"VM_Update extra", "VM_Update: unexpected argument 'extra'"},
      {"vmu-pack only-one", "vmu-pack: give SOURCE_FOLDER and OUTPUT.VMU"},
      {"vmu-pack --list", "vmu-pack: --list takes one PACKAGE"},
      {"vmu-pack --list a b", "vmu-pack: --list takes one PACKAGE"},
      {"vmu-pack --list --list a", "vmu-pack: one command at a time"},
      {"vmupdate-demo", "vmupdate-demo: give the folder DIR"},
      {"vmupdate-script a b", "vmupdate-script: one SCRIPT at most"},
      {"conversion-bench many", "conversion-bench: ROWS must be a whole number above 0"},
  };
  for (const Case& c : cases) {
    const Ran run = RunBeside(c.command);
    EXPECT_EQ(run.status, 2) << c.command;
    EXPECT_EQ(run.out, "") << c.command;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.first_line) << c.command;
    EXPECT_NE(run.err.find("\nusage: "), std::string::npos) << c.command;
  }
}

}  // namespace
}  // namespace vmu::cli
