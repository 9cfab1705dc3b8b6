#include "wizard/feed_button.h"

#include <ctime>

#include "files/conversion_log.h"
#include "platform/dialogs.h"
#include "platform/error.h"
#include "wizard/feed_search.h"
#include "wizard/frm_conversie.h"

namespace vmu {

namespace {

void ShowButton(FrmConversie& form, bool shown) {
  form.view.SetVisible(Control::cmdSearchUpdate, shown);
  form.view.SetEnabled(Control::cmdSearchUpdate, shown);
}

}  // namespace

void cmdSearchUpdate_Click(FrmConversie& form) {
  WizardView& view = form.view;
  WizardState& state = form.state;
  state.FeedChain.clear();
  // From the result page after an update, the search starts the wizard over.
  if (state.Step != 1) {
    state.Step = 0;
    form.CmdWizard_Click(1);
  }
  view.SetEnabled(Control::CmdWizard_1, false);
  view.SetText(Control::Label3, "Zoeken naar updates...");
  view.SetProgressMax(1);
  view.SetProgressValue(0);
  view.SetVisible(Control::Pbr, true);
  view.Redraw();
  FeedSearch search;
  try {
    search = SearchFeed(form.ctx, std::time(nullptr));
  } catch (const VbError& e) {
    search.refusal =
        "Er is een fout ontstaan met volgende beschrijving: " + std::to_string(e.number()) + " - " + e.description();
    LogTextIfPossible(form.ctx, "FOUT " + std::to_string(e.number()) + " - " + e.description() + " bij zoeken update");
  }
  view.SetProgressValue(1);
  view.SetVisible(Control::Pbr, false);
  view.SetText(Control::Label3, "");
  view.SetEnabled(Control::CmdWizard_1, true);
  MessageBoxSpec message;
  if (!search.refusal.empty()) {
    message.text = search.refusal;
    message.icon = Icon::Exclamation;
    view.ShowMessage(message);
    return;
  }
  if (search.chain.empty()) {
    message.text = ChainText(search);
    message.icon = Icon::Information;
    view.ShowMessage(message);
    return;
  }
  state.FeedChain = search.chain;
  state.FeedUrl = search.source.url;
  state.FeedPlainHttp = search.source.plain_http;
  state.FeedText = ChainText(search);
  view.SetText(Control::Label1_1, state.FeedText);
}

void ShowFeedOnWelcomePage(FrmConversie& form) {
  const bool there = HasUpdateSource(form.ctx);
  // Only a change is shown, so that a wizard without a feed does what it always did.
  if (there || form.view.Inspect(Control::cmdSearchUpdate).visible) ShowButton(form, there);
  if (!there) form.state.FeedChain.clear();
  if (!form.state.FeedChain.empty()) form.view.SetText(Control::Label1_1, form.state.FeedText);
}

void DisableSearchButton(FrmConversie& form) {
  if (form.view.Inspect(Control::cmdSearchUpdate).enabled && form.view.Visible(Control::cmdSearchUpdate))
    form.view.SetEnabled(Control::cmdSearchUpdate, false);
}

void ShowFeedOnResultPage(FrmConversie& form, bool failed) {
  WizardState& state = form.state;
  if (state.FeedSha256.empty()) return;
  const bool more = !failed && state.FeedChain.size() > 1;
  state.FeedChain.clear();
  state.FeedSha256.clear();
  if (!more) return;
  ShowButton(form, true);
  form.view.SetText(Control::Label1_1, form.view.Text(Control::Label1_1) + kCrLf + kCrLf +
                                           "Er is nog een update voor Velmora. Druk op '" +
                                           form.view.Text(Control::cmdSearchUpdate) + "' om die te installeren.");
}

}  // namespace vmu
