#include "app/cli/command_line.h"

#include <algorithm>
#include <ostream>

namespace vmu::cli {

bool Arguments::Has(std::string_view option) const {
  return std::any_of(options.begin(), options.end(), [&](const auto& o) { return o.first == option; });
}

std::string Arguments::Value(std::string_view option) const {
  for (auto it = options.rbegin(); it != options.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return {};
}

std::string VersionLine(const std::string& name) {
  return name + " " + std::to_string(VMU_VERSION_MAJOR) + "." + std::to_string(VMU_VERSION_MINOR) + "." +
         std::to_string(VMU_VERSION_PATCH);
}

int UsageError(const Program& program, const std::string& problem, std::ostream& err) {
  err << program.name << ": " << problem << '\n' << program.usage;
  return 2;
}

std::optional<int> Parse(const Program& program, int argc, const char* const* argv, const std::vector<Option>& options,
                         Arguments& args, std::ostream& out, std::ostream& err) {
  bool options_ended = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      args.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg == "--help" || arg == "-h") {
      out << program.usage;
      return 0;
    }
    if (arg == "--version") {
      out << VersionLine(program.name) << '\n';
      return 0;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const auto option = std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == name; });
    if (option == options.end()) return UsageError(program, "unknown option '" + arg + "'", err);
    if (!option->takes_value) {
      if (equals != std::string::npos) return UsageError(program, "option '" + name + "' takes no value", err);
      args.options.emplace_back(name, "");
    } else if (equals != std::string::npos) {
      args.options.emplace_back(name, arg.substr(equals + 1));
    } else if (i + 1 < argc) {
      args.options.emplace_back(name, argv[++i]);
    } else {
      return UsageError(program, "option '" + name + "' needs a value", err);
    }
  }
  return std::nullopt;
}

}  // namespace vmu::cli
