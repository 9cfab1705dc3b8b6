// Which handler a click runs, for every window of the program. The wizard's
// own buttons go to the wizard; the folder actions live here, above it.
#pragma once

#include "wizard/frm_conversie.h"

namespace vmu {

// Runs the click handler of the control; false when it has none.
bool ClickAnyControl(FrmConversie& form, Control c);
// Runs the double-click handler of the control; false when it has none.
bool DoubleClickAnyControl(FrmConversie& form, Control c);
// The button "Command1" of the special-folder window.
void ClickDirectoriesCommand1(FrmConversie& form);

}  // namespace vmu
