#include "wizard/feed_download.h"

#include <cstdio>

#include "files/conversion_log.h"
#include "package/update_feed.h"
#include "platform/dialogs.h"
#include "wizard/feed_search.h"
#include "wizard/frm_conversie.h"
#include "wizard/package_trust.h"

namespace vmu {

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;

std::string Megabytes(uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", bytes / kMegabyte);
  std::string out = text;
  for (char& c : out)
    if (c == '.') c = ',';
  return out;
}

void Tell(FrmConversie& form, const std::string& text, const std::string& log) {
  LogTextIfPossible(form.ctx, log);
  MessageBoxSpec message;
  message.text = text;
  message.icon = Icon::Exclamation;
  form.view.ShowMessage(message);
}

}  // namespace

bool FeedDownloadPending(FrmConversie& form) { return !form.state.FeedChain.empty(); }

std::string DownloadFeedPackage(FrmConversie& form, const std::string& folder) {
  RunContext& ctx = form.ctx;
  WizardView& view = form.view;
  const package::FeedEntry entry = form.state.FeedChain.front();
  const std::string url = package::ResolveFeedUrl(form.state.FeedUrl, entry.url);
  // The dialog's folder may come without its closing backslash (the documents folder does).
  const std::string target = folder + (folder.ends_with('\\') ? "" : "\\") + entry.file, part = target + ".part";
  form.state.FeedSha256 = entry.sha256;
  // Downloaded before: the bytes on disk are checked, not trusted.
  if (ctx.fs.FileExists(target) && ctx.packages && ctx.fs.FileSize(target) == entry.size &&
      ctx.packages->Sha256OfFile(target) == entry.sha256)
    return target;

  form.press.CurrentAction = "Downloaden " + url;
  view.SetText(Control::Label1_1, "Het updatefile [" + entry.file + "] wordt gedownload. Even geduld aub...");
  view.SetProgressMax(100);
  view.SetProgressValue(0);
  view.SetEnabled(Control::CmdWizard_0, false);
  view.SetEnabled(Control::CmdWizard_1, false);
  int shown = -1;
  const auto progress = [&](uint64_t done, uint64_t total) {
    const int percent = total ? static_cast<int>(done * 100 / total) : 0;
    if (percent == shown) return;
    shown = percent;
    view.SetProgressValue(percent);
    const std::string status = "Downloaden: " + Megabytes(done) + " van " + Megabytes(total) + " MB";
    if (view.Text(Control::Label3) != status) view.SetText(Control::Label3, status);
    view.Redraw();
  };
  const DownloadResult result =
      ctx.network->Download(url, part, entry.size, NetPolicy{form.state.FeedPlainHttp}, progress);
  view.SetText(Control::Label3, "");
  view.SetEnabled(Control::CmdWizard_0, true);
  view.SetEnabled(Control::CmdWizard_1, true);
  const std::string log = "Updatefile " + entry.file + " van " + url;
  // A file that can never become the package is not kept.
  const bool whole = result.ok() && result.size == entry.size;
  if (whole && result.sha256 != entry.sha256) {
    ctx.fs.DeleteFile(part);
    Tell(form,
         "Het gedownloade updatefile [" + entry.file +
             "] is niet het bestand dat het updateoverzicht noemt en wordt niet gebruikt. Neem contact op met uw "
             "leverancier.",
         log + " geweigerd: SHA-256 " + result.sha256 + " in plaats van " + entry.sha256);
    return "";
  }
  if (!whole) {
    if (ctx.fs.FileExists(part) && ctx.fs.FileSize(part) == 0) ctx.fs.DeleteFile(part);
    Tell(form, NetFailureText(result), log + " niet gedownload: " + result.detail);
    return "";
  }
  if (ctx.fs.FileExists(target)) ctx.fs.DeleteFile(target);
  ctx.fs.MoveFile(part, target);
  // Step 2 goes on with its own bar.
  view.SetProgressMax(5);
  view.SetProgressValue(0);
  return target;
}

void LogFeedDownload(FrmConversie& form, const std::string& path) {
  const package::FeedEntry& entry = form.state.FeedChain.front();
  LogTextIfPossible(form.ctx, "Updatefile " + path + " van " + package::ResolveFeedUrl(form.state.FeedUrl, entry.url) +
                                  " (" + std::to_string(entry.size) + " bytes, SHA-256 " + entry.sha256 + ")");
}

bool CopyMatchesFeed(FrmConversie& form, const std::string& copy, const std::string& chosen_name) {
  WizardState& state = form.state;
  if (state.FeedSha256.empty() || !form.ctx.packages) return true;
  const std::string sha = form.ctx.packages->Sha256OfFile(copy);
  if (sha == state.FeedSha256) return true;
  form.ctx.fs.DeleteFile(copy);
  LogTextIfPossible(form.ctx, "Updatefile " + chosen_name + " geweigerd: de kopie heeft SHA-256 " + sha);
  RefuseDamaged(form, chosen_name);
  return false;
}

}  // namespace vmu
