// Puts back the files the last installation replaced, from the backup
// folders ConversieBackup-1 (program folder) and ConversieBackup-2 (data folder).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

// Copies every file of both backup folders back into its target folder; the
// backups stay. A completed installation also has "VersionUpdate" in VM.ini
// lowered by one; after a failed one it was never raised. Fills backup_dir
// and leaves dir_index at 3, as the loop over the locations does. Never
// raises: a failure stops the restore with a message, and the result is false.
bool fTurnBack(RunContext& ctx, Dialogs& dialogs, std::array<std::string, 3>& backup_dir, int16_t& dir_index,
               bool completed_installation);

}  // namespace vmu
