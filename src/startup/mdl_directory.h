// The program and data folders: special folders, folder creation, the file
// dialog that yields a folder, and the choice of the data folder.
#pragma once

#include <string>

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

// 0: nothing missing; 1: a required file is missing; 2: the last missing file was optional.
using ResolveStatus = unsigned char;

// The special folder's path without a trailing backslash, or empty text.
std::string SpecialFolderPath(RunContext& ctx, int number);

// Creates every missing folder of the path; shows (and swallows) any error
// but "already exists".
void MakeFolderPath(RunContext& ctx, Dialogs& dialogs, const std::string& path);

// Shows the file dialog. Returns the chosen existing file's full path and
// sets folder to its folder; else returns and sets empty text.
std::string BrowseForFile(RunContext& ctx, Dialogs& dialogs, const std::string& title,
                          const std::string& filter, std::string& folder,
                          const std::string& file_name);

// Decides the data folder for program_folder (which gains a trailing
// backslash), migrating data files out of the VirtualStore when the program
// lies under the program-files folder. The caller sets status to 0.
std::string ResolveDataDir(RunContext& ctx, Dialogs& dialogs, std::string& program_folder,
                           ResolveStatus& status, std::string& missing_name);

}  // namespace vmu
