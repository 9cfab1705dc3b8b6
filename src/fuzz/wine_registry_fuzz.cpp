// Wine's registry text, read whatever it holds: every value stored is found
// again by its key and name in any case.
#include "fuzz/fuzz_check.h"
#include "platform/ascii.h"
#include "platform/wine_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const vmu::WineRegistry registry = vmu::ParseWineRegistry(vmu::fuzz::Bytes(data, size));
  for (const auto& [key, values] : registry.keys)
    for (const auto& [name, value] : values) {
      const std::string* found = registry.Value(vmu::AsciiUpper(key), vmu::AsciiUpper(name));
      vmu::fuzz::Require(found != nullptr && *found == value, "a value is found in any case");
    }
  return 0;
}
