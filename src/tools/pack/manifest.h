// The package manifest as the wizard reads it: which file it is and the
// values of its section "Main".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vmu::pack {

// The name among `names` that the wizard takes as its manifest:
// "installatieV2.ini", else "installatie.ini", each matched exactly first and
// then without regard to case.
std::optional<std::string> FindManifest(const std::vector<std::string>& names);

// The name among `names` that matches `wanted` (exactly first, then without
// regard to case).
std::optional<std::string> FindName(const std::vector<std::string>& names, const std::string& wanted);

// A value of section "Main" as the wizard reads it (at most 254 characters),
// or nothing when the key is missing. `content` is the file's bytes.
std::optional<std::string> ManifestValue(const std::string& content, const std::string& key);

}  // namespace vmu::pack
