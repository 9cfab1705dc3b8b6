// The application's data files and the backup list kept in VMbackuptool.ini.
#pragma once

#include <string>

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

inline constexpr int kAppFileCount = 10;

// The file name at position 1..10 of the table; empty text outside it.
std::string AppFileName(int position);
bool IsRequiredAppFile(int position);
bool IsMigratedAppFile(int position);  // every file but the two removed ones
bool IsRemovedAppFile(int position);   // sourcesBus.VMD, sourcesMed.VMD

// For a file not found: 1 (after the critical message) when it is required, else 2.
int CheckMissingAppFile(Dialogs& dialogs, int position);

// Brings the backup list in backup_list_path up to date for data_folder.
void RegisterBackupFiles(RunContext& ctx, const std::string& data_folder, const std::string& backup_list_path);

}  // namespace vmu
