// The wizard window as it is designed: what each control shows when the
// window is created. Both views start from this.
#pragma once

#include "wizard/wizard_view.h"

namespace vmu {

inline constexpr const char* kWizardCaption = "Installeren updates";

// The control's start state from the table of controls; a progress bar
// starts at 0 of 100.
ControlState DesignState(Control c);

}  // namespace vmu
