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

// The two halves of CopyWithBackup, for an installation that keeps every
// previous version first and flushes the backup folders once:
// KeepPrevious puts Target's previous version at Backup (error 58 when that
// exists) as a hard link or a flushed copy, without flushing Backup's
// folder; ReplaceKept then logs and replaces Target as CopyWithBackup does
// (Backup empty: Target is new). Source is an unpacked package's file,
// removed when the installation ends: Target may become that very file
// (FileSystem::PlaceFile) rather than a copy of it, and when `identity` is
// given, Source must still be the file it names.
void KeepPrevious(FileSystem& fs, const std::string& target, const std::string& backup);
void ReplaceKept(RunContext& ctx, const std::string& backup, const std::string& source, const std::string& target,
                 const std::string& identity = "");

}  // namespace vmu
