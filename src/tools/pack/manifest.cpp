#include "tools/pack/manifest.h"

#include "package/manifest_keys.h"
#include "package/package_files.h"
#include "platform/host/name_match.h"
#include "platform/ini_file.h"

namespace vmu::pack {

std::optional<std::string> FindName(const std::vector<std::string>& names, const std::string& wanted) {
  for (const std::string& name : names)
    if (name == wanted) return name;
  for (const std::string& name : names)
    if (SameNameIgnoringCase(name, wanted)) return name;
  return std::nullopt;
}

std::optional<std::string> FindManifest(const std::vector<std::string>& names) {
  if (auto found = FindName(names, package::kManifestName)) return found;
  return FindName(names, package::kOldManifestName);
}

std::optional<std::string> ManifestValue(const std::string& content, const std::string& key) {
  // The wizard reads with a 255-character buffer and takes "?" for a missing key.
  const std::string value = IniRead(content, package::kManifestSection, key, "?", 255);
  if (value == "?") return std::nullopt;
  return value;
}

}  // namespace vmu::pack
