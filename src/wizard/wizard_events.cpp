#include "wizard/wizard_events.h"

#include "wizard/feed_button.h"

namespace vmu {

namespace {

constexpr ControlHandler kClicks[] = {
    {Control::CmdWizard_0, [](FrmConversie& form) { form.CmdWizard_Click(0); }},
    {Control::CmdWizard_1, [](FrmConversie& form) { form.CmdWizard_Click(1); }},
    {Control::CancelButton, [](FrmConversie& form) { form.CancelButton_Click(); }},
    {Control::CmdStartApp, [](FrmConversie& form) { form.CmdStartApp_Click(); }},
    {Control::cmdTurnBack, [](FrmConversie& form) { form.cmdTurnBack_Click(); }},
    {Control::cmdSearchUpdate, cmdSearchUpdate_Click},
};

}  // namespace

bool RunHandler(std::span<const ControlHandler> handlers, FrmConversie& form, Control c) {
  for (const ControlHandler& handler : handlers) {
    if (handler.control == c) {
      handler.run(form);
      return true;
    }
  }
  return false;
}

bool ClickControl(FrmConversie& form, Control c) { return RunHandler(kClicks, form, c); }

}  // namespace vmu
