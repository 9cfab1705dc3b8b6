#include "startup/window_events.h"

#include "startup/directories_window.h"
#include "startup/folder_info.h"
#include "startup/other_location.h"
#include "wizard/conversion_step.h"
#include "wizard/wizard_events.h"

namespace vmu {

namespace {

// The folder actions and the service report; the wizard's own buttons are
// in its own table.
constexpr ControlHandler kClicks[] = {
    {Control::cmdOpenLocation, cmdOpenLocation_Click},
    {Control::cmdOpenDirectories, cmdOpenDirectories_Click},
    {Control::CmdCompareTables, CmdCompareTables_Click},
};

constexpr ControlHandler kDoubleClicks[] = {
    {Control::Image1, Image1_DblClick},
};

}  // namespace

bool ClickAnyControl(FrmConversie& form, Control c) { return RunHandler(kClicks, form, c) || ClickControl(form, c); }

bool DoubleClickAnyControl(FrmConversie& form, Control c) { return RunHandler(kDoubleClicks, form, c); }

void ClickDirectoriesCommand1(FrmConversie& form) { Command1_Click(form); }

}  // namespace vmu
