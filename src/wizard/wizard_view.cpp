#include "wizard/wizard_view.h"

namespace vmu {

std::string_view ControlName(Control c) {
  switch (c) {
    case Control::Label1_0: return "Label1(0)";
    case Control::Label1_1: return "Label1(1)";
    case Control::Label1_2: return "Label1(2)";
    case Control::Label1_3: return "Label1(3)";
    case Control::Label2: return "Label2";
    case Control::Label3: return "Label3";
    case Control::Label4: return "Label4";
    case Control::CmdWizard_0: return "CmdWizard(0)";
    case Control::CmdWizard_1: return "CmdWizard(1)";
    case Control::CancelButton: return "CancelButton";
    case Control::cmdTurnBack: return "cmdTurnBack";
    case Control::cmdOpenLocation: return "cmdOpenLocation";
    case Control::cmdOpenDirectories: return "cmdOpenDirectories";
    case Control::CmdCompareTables: return "CmdCompareTables";
    case Control::CmdStartApp: return "CmdStartApp";
    case Control::Image1: return "Image1";
    case Control::Pbr: return "Pbr";
  }
  return "?";
}

}  // namespace vmu
