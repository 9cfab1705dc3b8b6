#include "wizard/window_design.h"

namespace vmu {

ControlState DesignState(Control c) {
  ControlState s;
  switch (c) {
    case Control::Label1_0:
      s.text = "Label1";
      s.bold = true;
      break;
    case Control::Label1_1:
    case Control::Label1_2:
    case Control::Label1_3:
      s.text = "Label1";
      break;
    case Control::Label2:
      s.text = "Label2";
      s.bold = true;
      break;
    case Control::Label3: s.text = "Label3"; break;
    case Control::Label4: s.text = "Label4"; break;
    case Control::CmdWizard_0:
      s.text = "<< Vorige";
      s.enabled = false;
      break;
    case Control::CmdWizard_1: s.text = "Volgende >>"; break;
    case Control::CancelButton: s.text = "Annuleren"; break;
    case Control::cmdTurnBack: s.text = "Terugdraaien Update"; break;
    case Control::cmdOpenLocation: s.text = "Open andere programma map"; break;
    case Control::cmdOpenDirectories:
      s.text = "Directories";
      s.visible = false;
      break;
    case Control::CmdCompareTables:
      s.text =
          "Analyse tabellen. Zet deze knop op invisible!!! Ga eerst de mutatiefile inlezen totdat "
          "de mededeling op deze knop verandert";
      s.visible = false;
      break;
    case Control::CmdStartApp:
      s.text = "Command1";
      s.visible = false;
      break;
    case Control::Image1: break;
    case Control::Pbr:
      s.visible = false;
      s.max = 100;
      s.value = 0;
      break;
  }
  return s;
}

}  // namespace vmu
