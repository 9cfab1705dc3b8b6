// Puts back the files the last installation replaced, from the backup
// folders ConversieBackup-1 (program folder) and ConversieBackup-2 (data folder).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

// Copies every file of both backup folders back over its installed file
// (which is never missing meanwhile); the backups stay. A completed
// installation also loses the files it added and gets back the
// "VersionUpdate" it replaced, as the backup record says, so a second run
// changes nothing more. The automatic restore after a failed installation
// follows that installation's journal instead. The work is journalled: a
// crash is finished by the next start. Fills backup_dir and leaves
// dir_index at 3. Never raises: a failure is logged ("FOUT "), stops the
// restore with a message, and the result is false.
bool fTurnBack(RunContext& ctx, Dialogs& dialogs, std::array<std::string, 3>& backup_dir, int16_t& dir_index,
               bool completed_installation);

}  // namespace vmu
