#include "app/script/script_runner.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>

#include "app/script/script_processes.h"
#include "app/script/tee_view.h"
#include "platform/crypto/detached_signature.h"
#include "platform/crypto/host_package_checker.h"
#include "platform/error.h"
#include "platform/host/host_file_system.h"
#include "platform/host/host_installation_lock.h"
#include "platform/host/host_processes.h"
#include "platform/host/read_host_info.h"
#include "platform/mdb/mdb_jet_files.h"
#include "platform/net/curl_network.h"
#include "platform/program_end.h"
#include "platform/sqlite/sqlite_databases.h"
#include "startup/main_module.h"
#include "startup/window_events.h"
#include "views/headless/script_view.h"
#include "views/headless/transcript.h"

namespace vmu {

namespace {

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\n";
  size_t b = s.find_first_not_of(blanks);
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

// "#" at the start of a line or after a blank starts a comment; a "#"
// inside a word (a file name) does not.
std::string StripComment(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i)
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  return line;
}

std::string ShotName(int number, const std::string& command) {
  std::string name = number < 10 ? "0" + std::to_string(number) : std::to_string(number);
  name += "-";
  for (char ch : command) {
    bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
    name += plain ? ch : '-';
    if (name.size() > 40) break;
  }
  return name + ".png";
}

struct Stop {
  int status;
};

class Session {
 public:
  Session(std::ostream& out, ScriptWindow* window, const ScriptOptions& options)
      : out_(out), recorder_(out), window_(window), options_(options) {}

  // Runs one command; throws Stop to end the driver.
  void Run(const std::string& command, const std::string& argument);
  bool AnswersPending() const { return recorder_.AnswersPending(); }
  void Snapshot(int number, const std::string& command) {
    // Before start there is no window to picture.
    if (window_ && form_) window_->Snapshot(ShotName(number, command));
  }

 private:
  void Start();
  void Press(const std::string& name);
  void Fail(const std::string& message, int status) {
    out_ << "error " << message << '\n' << std::flush;
    throw Stop{status};
  }
  // Runs a handler of the logic as the window's event loop would.
  template <typename F>
  void Event(F handler);

  std::ostream& out_;
  ScriptView recorder_;
  ScriptWindow* window_;
  ScriptOptions options_;
  std::string prefix_;
  std::optional<std::uint64_t> free_space_;
  std::unique_ptr<HostFileSystem> fs_;
  std::unique_ptr<HostProcesses> host_processes_;
  std::unique_ptr<ScriptProcesses> processes_;
  std::unique_ptr<MdbJetFiles> jet_files_;
  std::unique_ptr<SqliteDatabases> databases_;
  std::unique_ptr<HostPackageChecker> packages_;
  std::unique_ptr<HostInstallationLock> lock_;
  std::unique_ptr<CurlNetwork> network_;
  crypto::DetachedSignatureChecker signatures_;
  std::unique_ptr<RunContext> ctx_;
  std::unique_ptr<TeeView> tee_;
  std::unique_ptr<FrmConversie> form_;
};

template <typename F>
void Session::Event(F handler) {
  try {
    handler();
  } catch (const ProgramEnded&) {
    out_ << "end\n" << std::flush;
    throw Stop{0};
  } catch (const VbError& e) {
    // An error no handler of the logic took: the window would show it and go on.
    out_ << "error unhandled " << e.number() << " - " << e.description() << '\n' << std::flush;
  }
}

void Session::Run(const std::string& command, const std::string& argument) {
  if (command == "prefix") {
    if (form_) Fail("prefix must come before start", 2);
    prefix_ = argument;
    setenv("WINEPREFIX", prefix_.c_str(), 1);  // the unpacker maps paths the same way
  } else if (command == "freespace") {
    // Every disk answers this many megabytes free: a full disk without filling one.
    if (form_) Fail("freespace must come before start", 2);
    if (argument.empty() || argument.find_first_not_of("0123456789") != std::string::npos)
      Fail("freespace needs megabytes", 2);
    free_space_ = std::stoull(argument) * 1024 * 1024;
  } else if (command == "start") {
    if (form_) Fail("already started", 2);
    Start();
  } else if (command == "answer") {
    if (argument == "ok") recorder_.QueueAnswer(Answer::Ok);
    else if (argument == "yes") recorder_.QueueAnswer(Answer::Yes);
    else if (argument == "no") recorder_.QueueAnswer(Answer::No);
    else Fail("unknown answer " + Quote(argument), 2);
  } else if (command == "file") {
    recorder_.QueueFile(argument == "cancel" ? "" : argument);
  } else if (command == "press" || command == "dblclick" || command == "close" || command == "dump" ||
             command == "wait") {
    if (!form_) Fail("not started", 2);
    if (command == "press") {
      Press(argument);
    } else if (command == "dblclick") {
      const ControlInfo* target = ControlByWord(argument, ControlKind::Picture);
      if (!target) Fail("unknown control " + Quote(argument), 2);
      Event([&] {
        if (!DoubleClickAnyControl(*form_, target->control)) out_ << "error no handler for " << argument << '\n';
      });
    } else if (command == "close") {
      Event([&] { form_->Close(CloseMode::User); });
    } else if (command == "dump") {
      WizardView& view = tee_ ? static_cast<WizardView&>(*tee_) : recorder_;
      for (const ControlInfo& info : kControls) {
        const ControlState state = view.Inspect(info.control);
        // Installations without an update feed never show this button: their dumps stay as they were.
        if (info.control == Control::cmdSearchUpdate && !state.visible) continue;
        out_ << StateLine(info.control, state) << '\n';
      }
      out_ << std::flush;
    } else {
      if (argument != "unpack") Fail("unknown wait " + Quote(argument), 2);
      if (form_->state.TaskId != 0 && !processes_->WaitForEnd(form_->state.TaskId, 60))
        out_ << "error unpacker still running after 60 s\n" << std::flush;
    }
  } else {
    Fail("unknown command " + Quote(command), 2);
  }
}

void Session::Start() {
  fs_ = std::make_unique<HostFileSystem>(DriveMap(prefix_.empty() ? DriveMap::DefaultPrefix() : prefix_));
  host_processes_ = std::make_unique<HostProcesses>(*fs_);
  processes_ = std::make_unique<ScriptProcesses>(*host_processes_, out_);
  if (free_space_) fs_->PretendFreeSpace(*free_space_);
  FileSystem* logic_fs = options_.file_system ? options_.file_system(*fs_) : fs_.get();
  ctx_ = std::make_unique<RunContext>(*logic_fs, *processes_, CurrentHostInfo(*fs_, "VM_Update"));
  jet_files_ = std::make_unique<MdbJetFiles>(*fs_);
  databases_ = std::make_unique<SqliteDatabases>(*fs_, jet_files_.get());
  ctx_->databases = databases_.get();
  packages_ = std::make_unique<HostPackageChecker>(*fs_);
  ctx_->packages = packages_.get();
  lock_ = std::make_unique<HostInstallationLock>(*fs_);
  ctx_->lock = lock_.get();
  network_ = std::make_unique<CurlNetwork>(*fs_);
  ctx_->network = network_.get();
  ctx_->signatures = &signatures_;
  WizardView* view = &recorder_;
  if (window_) {
    tee_ = std::make_unique<TeeView>(recorder_, window_->Window(*fs_));
    view = tee_.get();
  }
  ctx_->maintenance = options_.maintenance;
  form_ = std::make_unique<FrmConversie>(*ctx_, *view);
  Event([&] { Main(*form_); });
}

void Session::Press(const std::string& name) {
  // Command1 is on the special-folder window, which must be open for a user to press it.
  if (name == "command1") {
    if (!recorder_.DirectoriesShown()) Fail("control not available", 5);
    Event([&] { ClickDirectoriesCommand1(*form_); });
    return;
  }
  const ControlInfo* target = ControlByWord(name, ControlKind::Button);
  if (!target) Fail("unknown control " + Quote(name), 2);
  ControlState s = (tee_ ? static_cast<WizardView&>(*tee_) : recorder_).Inspect(target->control);
  if (!s.enabled || !s.visible) Fail("control not available", 5);
  Event([&] {
    if (!ClickAnyControl(*form_, target->control)) out_ << "error no handler for " << name << '\n';
  });
}

}  // namespace

int RunScript(std::istream& in, std::ostream& out, ScriptWindow* window, const ScriptOptions& options) {
  Session session(out, window, options);
  std::string line;
  int number = 0;
  try {
    while (std::getline(in, line)) {
      line = Trim(StripComment(line));
      if (line.empty()) continue;
      size_t space = line.find_first_of(" \t");
      std::string command = line.substr(0, space);
      std::string argument = space == std::string::npos ? "" : Trim(line.substr(space));
      try {
        session.Run(command, argument);
      } catch (...) {
        session.Snapshot(++number, line);  // the last picture shows where it stopped
        throw;
      }
      session.Snapshot(++number, line);
    }
  } catch (const Stop& stop) {
    if (stop.status != 0) return stop.status;
  } catch (const ScriptAbort& abort) {
    return abort.status;
  }
  if (session.AnswersPending()) {
    out << "error answers left over\n" << std::flush;
    return 4;
  }
  return 0;
}

}  // namespace vmu
