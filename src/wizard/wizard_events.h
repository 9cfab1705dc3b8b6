// Which handler a click on a control runs: one table for both views.
#pragma once

#include "wizard/frm_conversie.h"

namespace vmu {

// Runs the click handler of the control; false when it has none.
bool ClickControl(FrmConversie& form, Control c);
// Runs the double-click handler of the control; false when it has none.
bool DoubleClickControl(FrmConversie& form, Control c);

}  // namespace vmu
