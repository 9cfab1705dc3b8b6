// Wine's registry text, read whatever it holds: keys and value names are
// stored in lower case, and every stored value is found again in any case.
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/ascii.h"
#include "platform/wine_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const vmu::WineRegistry registry = vmu::ParseWineRegistry(vmu::fuzz::Bytes(data, size));
  for (const auto& [key, values] : registry.keys) {
    vmu::fuzz::Require(vmu::AsciiLower(key) == key, "keys are stored in lower case");
    for (const auto& [name, value] : values) {
      vmu::fuzz::Require(vmu::AsciiLower(name) == name, "names are stored in lower case");
      const std::string* found = registry.Value(vmu::AsciiUpper(key), vmu::AsciiUpper(name));
      vmu::fuzz::Require(found != nullptr && *found == value, "a value is found in any case");
    }
  }
  return 0;
}
