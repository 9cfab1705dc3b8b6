// Start-up: loads the wizard window, finds the installation, fixes the
// global folder settings and shows the window.
#pragma once

#include "wizard/frm_conversie.h"

namespace vmu {

// Runs once. Shows the service buttons when the run context asks for
// maintenance. Ends the program (the view's EndProgram) when no usable
// installation is found or an error stops it.
void Main(FrmConversie& form);

}  // namespace vmu
