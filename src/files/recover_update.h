// The start-up's look for an update or roll-back that broke off (a crash, a
// power cut): its journal is still in the data folder.
#pragma once

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

enum class Recovery { NothingPending, Restored, Failed };

// When DataDir holds a journal, puts the installation back as it was before
// that update (or finishes the roll-back), removes what interrupted writes
// left, logs it, and tells the user. When that fails (a file in use) it
// names the file, keeps the journal and every backup for the next start,
// and the result is Failed. A journal that fails its checks (checksum,
// keys, paths outside the installation) is not acted on at all: the
// message names its line and its place for support. Never raises.
Recovery RecoverInterruptedUpdate(RunContext& ctx, Dialogs& dialogs);

// True while a journal is left that the recovery could not finish: the
// installation, the roll-back and the conversion must not start then.
bool UpdateUnfinished(RunContext& ctx);

// The refusal shown then.
std::string UnfinishedUpdateText(RunContext& ctx);

}  // namespace vmu
