// The special folders a prefix made by wineboot keeps in its registry.
#pragma once

#include "platform/shell_folders.h"
#include "platform/wine_registry.h"

namespace vmu {

// From the prefix's user.reg and system.reg (either may be empty): its
// architecture (system.reg's "#arch=", else user.reg's) and the folders of
// the "Shell Folders" keys and the program-files values, as a 32-bit program
// sees them.
PrefixFolders PrefixFoldersFromRegistry(const WineRegistry& user, const WineRegistry& system);

}  // namespace vmu
