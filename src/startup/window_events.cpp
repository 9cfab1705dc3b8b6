#include "startup/window_events.h"

#include "startup/directories_window.h"
#include "startup/folder_info.h"
#include "startup/other_location.h"
#include "wizard/conversion_step.h"
#include "wizard/wizard_events.h"

namespace vmu {

bool ClickAnyControl(FrmConversie& form, Control c) {
  switch (c) {
    case Control::cmdOpenLocation: cmdOpenLocation_Click(form); return true;
    case Control::cmdOpenDirectories: cmdOpenDirectories_Click(form); return true;
    case Control::CmdCompareTables: CmdCompareTables_Click(form); return true;
    default: return ClickControl(form, c);
  }
}

bool DoubleClickAnyControl(FrmConversie& form, Control c) {
  if (c == Control::Image1) {
    Image1_DblClick(form);
    return true;
  }
  return DoubleClickControl(form, c);
}

void ClickDirectoriesCommand1(FrmConversie& form) { Command1_Click(form); }

}  // namespace vmu
