// The one rule for the names of files a package carries and installs: a bare
// file name, so that nothing lands outside the folder it is meant for, in
// either path syntax. The package maker applies it to the file list, the
// unpacker to the archive and the wizard to the entries it installs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmu::package {

// What is wrong with the name ("is empty", "is an absolute path", "contains
// \"..\" ...", "has a folder part", "contains a colon", "is not a file name",
// "holds a NUL character"), or nothing for a bare file name.
std::optional<std::string> NameProblem(std::string_view name);

bool IsBareFileName(std::string_view name);

}  // namespace vmu::package
