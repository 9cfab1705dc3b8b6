// Puts one file of a package in place, keeping the file it replaces.
#pragma once

#include <array>
#include <string>

#include "files/run_context.h"

namespace vmu {

// The mode a file the update adds gets: readable by all, writable by its
// owner, executable by all when the package's copy was executable.
int AddedFileMode(int package_mode);

// When Target exists its previous version first reaches backup_dir[location]
// & its file name (never over an existing backup: error 58) as a hard link,
// or as a flushed copy where the folders lie on different file systems;
// then Source replaces Target in one rename, so Target is never missing.
// Target keeps its previous permission bits (a new file gets
// AddedFileMode). Flushing Target and its folder is the caller's, so that
// a batch of files reaches the disk together.
// A location other than 1 or 2 is refused with error 9, but only when there
// is something to keep. Catches nothing.
void CopyWithBackup(RunContext& ctx, const std::array<std::string, 3>& backup_dir, const std::string& source,
                    const std::string& target, int location);

}  // namespace vmu
