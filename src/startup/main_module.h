// Start-up: loads the wizard window, finds the installation, fixes the
// global folder settings and shows the window.
#pragma once

#include "wizard/frm_conversie.h"

namespace vmu {

// How this build or session starts.
struct StartOptions {
  // Shows the service buttons (table comparison, special folders) that the
  // wizard keeps hidden from users.
  bool maintenance = false;
};

// Runs once. Ends the program (the view's EndProgram) when no usable
// installation is found or an error stops it.
void Main(FrmConversie& form, const StartOptions& options = {});

}  // namespace vmu
