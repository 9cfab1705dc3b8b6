// The one rule for names inside a package, applied by the package maker to
// the file list and by the unpacker to the archive: a bare file name, so
// that nothing lands outside the update folder, in either path syntax.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmu::pack {

// What is wrong with the name ("is an absolute path", "climbs out of the
// folder (..)", "has a folder part", "is empty"), or nothing for a bare name.
std::optional<std::string> NameProblem(std::string_view name);

}  // namespace vmu::pack
