// The programs' command lines: --help, --version and each program's own
// options, answered the same way by every program.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vmu::cli {

// A program's name and its usage text (whole lines, each ending in '\n').
struct Program {
  std::string name;
  std::string usage;
};

struct Option {
  std::string name;  // "--shots"
  bool takes_value = false;
};

struct Arguments {
  std::vector<std::pair<std::string, std::string>> options;  // as given; a flag's value is empty
  std::vector<std::string> operands;

  bool Has(std::string_view option) const;
  // The value of the last `option` given; empty when it was not given.
  std::string Value(std::string_view option) const;
};

// "vmu-pack 1.0.0": the name and the project's version.
std::string VersionLine(const std::string& name);

// Reads argv[1] to argv[argc - 1] into `args`. --help (or -h) prints the
// usage on `out`, --version the version line; an unknown option, an option
// without its value or a flag given a value prints one line and the usage on
// `err`. Returns the exit status (0 or 2) when the program should end now,
// nothing when it should run. "--" ends the options; "-" is an operand.
// Options take their value as "--shots DIR" or "--shots=DIR".
std::optional<int> Parse(const Program& program, int argc, const char* const* argv, const std::vector<Option>& options,
                         Arguments& args, std::ostream& out, std::ostream& err);

// A command line that is wrong otherwise (the operands): "<name>: <problem>"
// and the usage on `err`. Returns 2, the status for it.
int UsageError(const Program& program, const std::string& problem, std::ostream& err);

}  // namespace vmu::cli
