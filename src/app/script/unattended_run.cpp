#include "app/script/unattended_run.h"

#include <deque>

#include "files/format_version.h"
#include "files/utility.h"
#include "platform/crypto/detached_signature.h"
#include "platform/crypto/host_package_checker.h"
#include "platform/error.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_installation_lock.h"
#include "platform/host/host_processes.h"
#include "platform/host/read_host_info.h"
#include "platform/net/curl_network.h"
#include "platform/program_end.h"
#include "platform/sqlite/sqlite_databases.h"
#include "startup/main_module.h"
#include "startup/window_events.h"
#include "views/headless/script_view.h"
#include "wizard/frm_conversie.h"

namespace vmu {

namespace {

// The window as no one sees it: a question gets the answer that changes
// nothing (No; OK where that is all there is), a file dialog the file asked
// for, once.
class QuietView : public ScriptView {
 public:
  QuietView() : ScriptView(nowhere_) {}
  Answer ShowMessage(const MessageBoxSpec& request) override {
    last_message = request.text;
    return request.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
  }
  std::string ShowOpenFile(const FileDialogSpec&) override {
    if (files.empty()) return "";
    std::string chosen = files.front();
    files.pop_front();
    return chosen;
  }
  std::string last_message;
  std::deque<std::string> files;

 private:
  std::ostream nowhere_{nullptr};
};

// Its first line, on one line.
std::string Reason(const std::string& text) {
  std::string line = text.substr(0, text.find("\r\n"));
  return line.empty() ? "geen reden" : line;
}

struct Outcome {
  int status;
  std::string detail;
};

class Run {
 public:
  Run()
      : fs_(DriveMap(DriveMap::DefaultPrefix())),
        processes_(fs_),
        ctx_(fs_, processes_, CurrentHostInfo(fs_, "vmupdate-script")),
        databases_(fs_),
        packages_(fs_),
        lock_(fs_),
        network_(fs_),
        form_(ctx_, view_) {
    ctx_.databases = &databases_;
    ctx_.packages = &packages_;
    ctx_.lock = &lock_;
    ctx_.network = &network_;
    ctx_.signatures = &signatures_;
  }

  Outcome Go(const UnattendedRequest& request) {
    try {
      Main(form_);
      if (!request.program_folder.empty()) {
        const std::string& folder = request.program_folder;
        view_.files.push_back(folder + (folder.ends_with('\\') ? "" : "\\") + "VM.EXE");
        Click(Control::cmdOpenLocation);
        if (!view_.files.empty() || !view_.last_message.empty())
          return {kRefused, "andere programma map niet gekozen: " + Reason(view_.last_message)};
      }
      if (!request.package.empty()) {
        view_.files.push_back(request.package);
        return InstallOne(false);
      }
      return InstallFromFeed();
    } catch (const ProgramEnded&) {
      return {kRefused, Reason(view_.last_message)};
    } catch (const VbError& e) {
      return {kFailed, "fout " + std::to_string(e.number()) + " - " + e.description()};
    }
  }

 private:
  void Click(Control c) {
    view_.last_message.clear();
    ClickAnyControl(form_, c);
  }
  std::string Installed() {
    const std::string vm_ini = ctx_.folders.DataDir + "VM.ini";
    return FormatVersion(ToInt32(ReadIniRaw(fs_, vm_ini, "Main", "Version", "0")), true,
                         ToInt32(ReadIniRaw(fs_, vm_ini, "Main", "VersionUpdate", "0")));
  }

  // Steps 2 and 3 for the package the file dialog or the feed gives.
  Outcome InstallOne(bool from_feed) {
    Click(Control::CmdWizard_1);
    if (form_.state.Step != 2) {
      // A package refused at step 2 is damaged or not the supplier's; a
      // download that broke off or found no room is a failure to try again.
      const std::string& m = view_.last_message;
      const bool trouble = m.starts_with("De updateserver") || m.starts_with("De verbinding") ||
                           m.starts_with("Er is niet genoeg ruimte") || m.starts_with("Het updatefile kan niet");
      return {from_feed && trouble ? kFailed : kRefused, Reason(m)};
    }
    const std::string package = form_.state.PackageName;
    Click(Control::CmdWizard_1);
    const std::string text = view_.Text(Control::Label1_1);
    if (form_.state.Step == 2) return {kRefused, "Velmora is nog geopend: " + Reason(text)};
    if (text.starts_with("De Update is succesvol verlopen")) return {kInstalled, package + ", nu " + Installed()};
    if (text.starts_with("Deze update heeft u al geïnstalleerd"))
      return {kNothingToDo, package + " is al geïnstalleerd"};
    const bool error = text.starts_with("Er is een fout ontstaan");
    return {error ? kFailed : kRefused, package + ": " + Reason(text)};
  }

  // The chain in order, stopping at the first refusal or failure.
  Outcome InstallFromFeed() {
    if (!view_.Visible(Control::cmdSearchUpdate)) return {kRefused, "de programma folder bevat geen UpdateBron.txt"};
    Outcome done{kNothingToDo, ""};
    // Each package raises the version, so the feed runs out; the bound only guards a feed that repeats itself.
    for (int round = 0; round < 100; ++round) {
      Click(Control::cmdSearchUpdate);
      if (form_.state.FeedChain.empty()) {
        const std::string& message = view_.last_message;
        if (message.starts_with("Velmora is bijgewerkt"))
          return done.status == kInstalled ? done : Outcome{kNothingToDo, Reason(message)};
        return {message.starts_with("Het updateoverzicht") ? kRefused : kFailed, Reason(message)};
      }
      Outcome one = InstallOne(true);
      if (one.status != kInstalled) return one;
      done.status = kInstalled;
      done.detail += (done.detail.empty() ? "" : "; ") + one.detail;
    }
    return done;
  }

  HostFileSystem fs_;
  HostProcesses processes_;
  RunContext ctx_;
  SqliteDatabases databases_;
  HostPackageChecker packages_;
  HostInstallationLock lock_;
  CurlNetwork network_;
  crypto::DetachedSignatureChecker signatures_;
  QuietView view_;
  FrmConversie form_;
};

}  // namespace

int RunUnattended(const UnattendedRequest& request, std::ostream& out) {
  Run run;
  const Outcome outcome = run.Go(request);
  const char* word = outcome.status == kInstalled     ? "installed"
                     : outcome.status == kNothingToDo ? "nothing to do"
                     : outcome.status == kRefused     ? "refused"
                                                      : "failed, Velmora is as it was";
  out << "vmupdate-script: " << word << ": " << outcome.detail << '\n' << std::flush;
  return outcome.status;
}

}  // namespace vmu
