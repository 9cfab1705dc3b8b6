// Where the journal and the backup record may point: they are read back
// from the user's data folder, so every path in them is checked before use.
#pragma once

#include <string>
#include <vector>

#include "files/run_context.h"

namespace vmu {

// The program folder, the data folder and the data folder's backup and
// update folders, as start-up found them.
std::vector<std::string> UpdateFolders(const FolderSettings& folders);

// True when `path` is a plain file name directly inside one of `folders`,
// compared as the host maps them (so letter case, "..", other drives and
// other spellings of the same folder are all seen through).
bool InOneOf(FileSystem& fs, const std::string& path, const std::vector<std::string>& folders);

// The wizard never follows a link for its own folders and files in the data
// folder (Update\, the backup folders, the journal, the backup record, the
// log, Update.ini): raises 70 naming the first that is one.
void RefuseOwnLinks(FileSystem& fs, const std::string& data_dir);
// The same for one of them.
void RefuseLink(FileSystem& fs, const std::string& path);

// True when two folder paths map to the same host folder.
bool SameFolder(FileSystem& fs, const std::string& a, const std::string& b);

}  // namespace vmu
