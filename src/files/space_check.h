// Whether the disks hold what an installation will write, checked before it
// changes anything.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace vmu {

struct PlannedCopy {
  std::string source;  // the package's file
  std::string target;  // where it goes
  std::string backup;  // where the file it replaces is kept (when replaces)
  bool replaces = false;
  std::string identity;  // the file the source must still be (FileSystem::PlaceFile); empty: not checked
};

// Empty when every file system written to has room for the new files (each
// is written beside the old one before it replaces it) and for the backup
// copies (none where a hard link serves: backup and file on one file
// system), with some room to spare for the journal, the log and VM.ini.
// Otherwise the refusal, naming the folder and the megabytes needed.
std::string FreeSpaceShortage(FileSystem& fs, const std::vector<PlannedCopy>& copies);

}  // namespace vmu
