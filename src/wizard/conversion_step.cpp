#include "wizard/conversion_step.h"

#include "conversion/compare_tables.h"
#include "conversion/conversion_texts.h"
#include "conversion/convert.h"
#include "files/conversion_log.h"
#include "wizard/frm_conversie.h"

namespace vmu {

void WindowDisplay::AddToMainText(const std::string& text) {
  view_.SetText(Control::Label1_1, view_.Text(Control::Label1_1) + kCrLf + text);
}

void WindowDisplay::SetStatus(const std::string& text) {
  status_ = text;
  view_.SetText(Control::Label2, text);
}

void WindowDisplay::TableProgress(long done, long count) {
  view_.SetText(Control::Label2, status_ + " (" + std::to_string(done) + " van " + std::to_string(count) + " records)");
  view_.Redraw();
}

void WindowDisplay::StartProgress(int steps) {
  view_.SetProgressMax(steps);
  view_.SetProgressValue(0);
  view_.SetVisible(Control::Pbr, true);
}

void WindowDisplay::StepProgress() { view_.SetProgressValue(view_.ProgressValue() + 1); }

void WindowDisplay::HideProgress() { view_.SetVisible(Control::Pbr, false); }

void WindowDisplay::HideCancel() { view_.SetVisible(Control::CancelButton, false); }

void WindowDisplay::Redraw() { view_.Redraw(); }

void WindowDisplay::PrepareNotice() { view_.CreateNotice(); }

void WindowDisplay::ShowNotice(const std::string& text) { view_.ShowNotice(text); }

void WindowDisplay::ShowMessage(const std::string& text) { view_.ShowMessage(MessageBoxSpec{text}); }

ConversionSettings ConversionSettingsOf(const FrmConversie& form) {
  const WizardState& s = form.state;
  ConversionSettings settings;
  settings.ConvOldfile = s.ConvOldfile;
  settings.ConvNewfile = s.ConvNewfile;
  settings.ConvDatabase = s.ConvDatabase;
  settings.ConvDatabasePath = s.ConvDatabasePath;
  settings.ConvFromVer = s.ConvFromVer;
  settings.ConvToVer = s.ConvToVer;
  settings.DataDir = form.ctx.folders.DataDir;
  settings.UpdateDir = s.UpdateDir;
  settings.SetupIniName = form.ctx.folders.SetupIniName;
  return settings;
}

namespace {

using Outcome = ConversionResult::Outcome;

void ShowRefusal(FrmConversie& form, const ConversionResult& result) {
  WizardState& s = form.state;
  if (result.as_message) form.view.ShowMessage(MessageBoxSpec{result.text});
  else s.ResultText = result.text;
  s.ButtonsBlocked = result.buttons_blocked;
  s.FailureFlag = true;
}

void ShowFailure(FrmConversie& form, const ConversionResult& result) {
  WizardState& s = form.state;
  WizardView& view = form.view;
  view.SetColor(Control::Label1_1, TextColor::Red);
  view.SetBold(Control::Label1_1, true);
  s.ResultText = ConversionErrorText(result.error_description);
  s.FailureFlag = true;
  s.ButtonsBlocked = result.buttons_blocked;
  view.SetEnabled(Control::CmdWizard_0, false);
  view.SetEnabled(Control::CmdWizard_1, false);
  form.LogText("Fout: " + result.error_description);
}

}  // namespace

void ConvertDatabase(FrmConversie& form) {
  WizardState& s = form.state;
  s.FailureFlag = false;
  ConversionLog log(form.ctx.fs, form.ctx.folders.DataDir);
  WindowDisplay display(form.view);
  const ConversionResult result = Convert(ConversionSettingsOf(form), form.ctx.fs, form.ctx.databases, log, display);
  if (result.outcome == Outcome::Converted) return;

  if (result.outcome == Outcome::Refused) ShowRefusal(form, result);
  else ShowFailure(form, result);
  form.view.SetEnabled(Control::CmdWizard_0, !s.ButtonsBlocked);
  form.view.SetEnabled(Control::CmdWizard_1, !s.ButtonsBlocked);
  if (result.closing_error) std::rethrow_exception(result.closing_error);
}

void CmdCompareTables_Click(FrmConversie& form) {
  ConversionLog log(form.ctx.fs, form.ctx.folders.DataDir);
  WindowDisplay display(form.view);
  CompareTables(ConversionSettingsOf(form), form.ctx.databases, log, display);
}

}  // namespace vmu
