#include "wizard/wizard_events.h"

namespace vmu {

bool ClickControl(FrmConversie& form, Control c) {
  switch (c) {
    case Control::CmdWizard_0: form.CmdWizard_Click(0); return true;
    case Control::CmdWizard_1: form.CmdWizard_Click(1); return true;
    case Control::CancelButton: form.CancelButton_Click(); return true;
    case Control::CmdStartApp: form.CmdStartApp_Click(); return true;
    case Control::cmdTurnBack: form.cmdTurnBack_Click(); return true;
    default: return false;
  }
}

bool DoubleClickControl(FrmConversie&, Control) { return false; }

}  // namespace vmu
