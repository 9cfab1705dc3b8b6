#include "tools/pack/manifest.h"

#include <climits>

#include "platform/host/name_match.h"
#include "platform/ini_file.h"

namespace vmu::pack {

const std::vector<NumericKey>& ManifestNumericKeys() {
  static const std::vector<NumericKey> keys = {
      {"Ver", "0", INT32_MIN, INT32_MAX},
      {"VerUpdate", "0", INT32_MIN, INT32_MAX},
      {"VerLow", "999999", INT32_MIN, INT32_MAX},
      {"VerLowUpdate", "9999", INT32_MIN, INT32_MAX},
      {"Close", "1", 0, 255},
      {"Convert", "0", 0, 255},
      {"NewUpdate", "0", 0, 255},
  };
  return keys;
}

std::optional<std::string> FindName(const std::vector<std::string>& names,
                                    const std::string& wanted) {
  for (const std::string& name : names)
    if (name == wanted) return name;
  for (const std::string& name : names)
    if (SameNameIgnoringCase(name, wanted)) return name;
  return std::nullopt;
}

std::optional<std::string> FindManifest(const std::vector<std::string>& names) {
  if (auto found = FindName(names, kManifestName)) return found;
  return FindName(names, kOldManifestName);
}

std::optional<std::string> ManifestValue(const std::string& content, const std::string& key) {
  // The wizard reads with a 255-character buffer and takes "?" for a missing key.
  const std::string value = IniRead(content, "Main", key, "?", 255);
  if (value == "?") return std::nullopt;
  return value;
}

}  // namespace vmu::pack
