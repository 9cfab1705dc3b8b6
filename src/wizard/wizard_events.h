// Which handler a click on a control runs: one table for both views.
#pragma once

#include <span>

#include "wizard/frm_conversie.h"

namespace vmu {

// A control and what a click (or double click) on it runs.
struct ControlHandler {
  Control control;
  void (*run)(FrmConversie&);
};

// Runs the handler the list holds for the control; false when it has none.
bool RunHandler(std::span<const ControlHandler> handlers, FrmConversie& form, Control c);

// Runs the click handler of the wizard's own control; false when it has none.
bool ClickControl(FrmConversie& form, Control c);

}  // namespace vmu
