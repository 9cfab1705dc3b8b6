// Deleting several files at once, built on the file system's single-file
// calls so that every host and test double gets it the same way.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace vmu {

// Deletes every normal file matching a pattern such as "C:\x\*.*": 52 for a
// pattern without a name, 76 when the folder is missing, 53 when nothing
// matches.
void DeleteFiles(FileSystem& fs, const std::string& pattern);

// Removes the temporary files that an interrupted copy or write left behind
// in the folder; nothing when there are none or the folder is missing. One
// that goes meanwhile is no error.
void RemoveTemporaryFiles(FileSystem& fs, const std::string& folder);

}  // namespace vmu
