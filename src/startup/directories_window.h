// The special-folder window (frmDirectories), a service aid: the button that
// opens it is hidden unless the maintenance setting shows it.
#pragma once

#include <string>

#include "wizard/frm_conversie.h"

namespace vmu {

// Numbers 0 to 80, one line each: "n: path" and CR LF; a number the
// platform does not know ends right after ": ".
std::string SpecialFolderList(RunContext& ctx);

// "Directories" on the wizard: shows the window (made once, then reused).
void cmdOpenDirectories_Click(FrmConversie& form);
// "Command1" on the window: fills its text box anew.
void Command1_Click(FrmConversie& form);

}  // namespace vmu
