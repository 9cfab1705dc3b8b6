// Names of the wizard's own files and folders in the data folder. A package
// that installed one of them would steer the wizard itself (its backups,
// journal, log, lock or settings), so no file list may name them.
#pragma once

#include <string_view>

namespace vmu::package {

// In any letter case.
bool IsReservedName(std::string_view name);

}  // namespace vmu::package
