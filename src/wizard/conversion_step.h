// The database conversion and the table comparison report as the wizard runs
// them: their settings from the wizard's state, their display on its window,
// their outcome onto its fields and controls.
#pragma once

#include <string>

#include "conversion/conversion_display.h"
#include "conversion/conversion_settings.h"
#include "wizard/wizard_view.h"

namespace vmu {

class FrmConversie;

// The conversion's display on the wizard window: the main text Label1(1),
// the status line Label2, the bar Pbr, the cancel button, the notice window.
class WindowDisplay : public ConversionDisplay {
 public:
  explicit WindowDisplay(WizardView& view) : view_(view) {}

  void AddToMainText(const std::string& text) override;
  void SetStatus(const std::string& text) override;
  void StartProgress(int steps) override;
  void StepProgress() override;
  void HideProgress() override;
  // On the status line, after what it says: "Overzetten Klant (250000 van 1500000 records)".
  void TableProgress(long done, long count) override;
  void HideCancel() override;
  void Redraw() override;
  void PrepareNotice() override;
  void ShowNotice(const std::string& text) override;
  void ShowMessage(const std::string& text) override;

 private:
  WizardView& view_;
  std::string status_;  // the status line as the conversion set it
};

// The manifest's values the wizard has read, with its folders.
ConversionSettings ConversionSettingsOf(const FrmConversie& form);

// Runs the conversion and reports through FailureFlag, ResultText and
// ButtonsBlocked: a refusal with its text (or its message box), a failure
// with the error text in red and a "Fout: " log line; Back and Next are then
// enabled unless blocked. An error while writing that log line, or while
// closing the databases afterwards, goes on to the caller.
void ConvertDatabase(FrmConversie& form);

// The maintenance button "Analyse tabellen...": the comparison report.
void CmdCompareTables_Click(FrmConversie& form);

}  // namespace vmu
