// Makes sure a working folder exists and holds no files.
#pragma once

#include <string>

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

// Creates Folder (ending in a backslash) when it yields no file, else deletes
// its files; subfolders stay. Traps its own errors: 75 (the folder was there
// but empty) is only logged, any other error is shown and logged. Only a log
// failure inside that trap reaches the caller, and a folder that is a
// symbolic link: it is refused (70, naming it) before anything is done.
void CheckDir(RunContext& ctx, Dialogs& dialogs, const std::string& folder);

}  // namespace vmu
