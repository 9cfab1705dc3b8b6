// Puts one file of a package in place, keeping the file it replaces.
#pragma once

#include <array>
#include <string>

#include "files/run_context.h"

namespace vmu {

// When Target exists it is moved to backup_dir[location] & its file name
// first (never over an existing backup: error 58); then Source is copied
// over Target. A location other than 1 or 2 is refused with error 9, but
// only when there is something to move. Catches nothing.
void CopyWithBackup(RunContext& ctx, const std::array<std::string, 3>& backup_dir, const std::string& source,
                    const std::string& target, int location);

}  // namespace vmu
