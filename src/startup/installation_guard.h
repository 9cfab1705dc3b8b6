// One wizard per installation: the data folder is claimed before anything in
// it changes, and a second wizard on the same folder is turned away.
#pragma once

#include <string>

#include "files/run_context.h"
#include "platform/dialogs.h"

namespace vmu {

// Claims data_dir for this run. False, after telling the user (the text
// ends with then_text), when another wizard is at work there; this run then
// must not touch that installation. A folder that cannot hold a claim (not
// made yet, read-only) and an empty one do not stop the run.
bool ClaimInstallation(RunContext& ctx, Dialogs& dialogs, const std::string& data_dir, const std::string& then_text);

}  // namespace vmu
