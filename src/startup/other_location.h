// The choice of another installation: the button "Open andere programma map".
#pragma once

#include "wizard/frm_conversie.h"

namespace vmu {

// Lets the user pick another VM.EXE, finds its data folder as start-up does,
// replaces the global folder settings and restarts the wizard at its first
// page. Ends the program when a required data file is missing there.
void cmdOpenLocation_Click(FrmConversie& form);

}  // namespace vmu
