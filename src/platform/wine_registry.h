// The text form of Wine's registry files (user.reg, system.reg): enough of
// it to read string values.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace vmu {

struct WineRegistry {
  std::string arch;  // "win32" or "win64" from the "#arch=" line; empty without one
  // Key path (single backslashes) -> value name -> string value. Key paths
  // and value names are stored in lower case, as the registry ignores case.
  std::map<std::string, std::map<std::string, std::string>> keys;

  // The string value, or nullptr; key and name in any case.
  const std::string* Value(std::string_view key, std::string_view name) const;
};

// Reads "[key] stamp" headers and "name"="value" lines (with Wine's escapes:
// \\ \" \n ... \x<hex> \<octal>); other value types and lines are passed over.
WineRegistry ParseWineRegistry(std::string_view text);

}  // namespace vmu
