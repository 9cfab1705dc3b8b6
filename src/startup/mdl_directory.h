// The program and data folders: special folders, folder creation, the file
// dialog that yields a folder, and the choice of the data folder.
#pragma once

#include <string>

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

// The special folder's path without a trailing backslash, or empty text.
std::string SpecialFolderPath(RunContext& ctx, int number);

// Creates every missing folder of the path; shows (and swallows) any error
// but "already exists".
void MakeFolderPath(RunContext& ctx, Dialogs& dialogs, const std::string& path);

// Shows the file dialog. Returns the chosen existing file's full path and
// sets folder to its folder; else returns and sets empty text.
std::string BrowseForFile(RunContext& ctx, Dialogs& dialogs, const std::string& title, const std::string& filter,
                          std::string& folder, const std::string& file_name);

// What ResolveDataDir decided.
struct DataDirChoice {
  std::string program_folder;     // the program folder with a trailing backslash
  std::string data_dir;           // ends with a backslash; empty when the folder has no drive
  std::string missing_required;   // the required data file that is missing, else empty
  bool optional_missing = false;  // the last missing data file was optional
};

// The data folder that ResolveDataDir chooses for program_folder, without
// looking at or changing any file; empty when the folder has no drive.
std::string DataDirFor(RunContext& ctx, std::string program_folder);

// Decides the data folder for program_folder, migrating data files out of
// the VirtualStore when the program lies under the program-files folder.
DataDirChoice ResolveDataDir(RunContext& ctx, Dialogs& dialogs, std::string program_folder);

}  // namespace vmu
