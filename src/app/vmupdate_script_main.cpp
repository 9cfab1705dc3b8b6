// vmupdate-script [--gui] [--shots DIR] [--maintenance] [SCRIPT]: runs the
// wizard headless from a script of user actions and prints the transcript.
// vmupdate-script --set-journal-aside JOURNAL: support's way out of a
// journal the wizard cannot read.
// vmupdate-script --unattended: an update without questions, for administrators.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "app/cli/command_line.h"
#include "app/script/script_runner.h"
#include "app/script/unattended_run.h"
#include "files/update_journal.h"
#include "files/utility.h"
#include "platform/ascii.h"
#include "platform/error.h"
#include "platform/host/host_file_system.h"
#include "views/qt/offscreen_gui.h"

namespace {

class GuiWindow : public vmu::ScriptWindow {
 public:
  GuiWindow(int& argc, char** argv, std::string shots) : gui_(argc, argv), shots_(std::move(shots)) {}

  vmu::WizardView& Window(vmu::FileSystem& fs) override { return gui_.Window(fs); }
  void Snapshot(const std::string& name) override {
    if (shots_.empty()) return;
    if (!gui_.SaveShot(shots_ + "/" + name)) std::cerr << "vmupdate-script: could not save " << name << '\n';
  }

 private:
  vmu::OffscreenGui gui_;
  std::string shots_;
};

const vmu::cli::Program kProgram{
    "vmupdate-script",
    "usage: vmupdate-script [--gui] [--shots DIR] [--maintenance] [SCRIPT]\n"
    "       vmupdate-script --unattended (--package FILE | --feed) [--program-folder WINDOWS_PATH]\n"
    "       vmupdate-script --set-journal-aside JOURNAL\n"
    "Runs the update wizard from a script of user actions (standard input when no\n"
    "SCRIPT is given) and prints what the window does. --gui also drives the real\n"
    "window offscreen; --shots saves a picture of it after every command.\n"
    "--maintenance shows the service buttons (comparetables, directories).\n"
    "--unattended installs the package FILE (a Windows path), or every update the\n"
    "feed of UpdateBron.txt offers, in order, with no window and no questions, and\n"
    "prints one line. Exit status: 0 installed, 10 nothing to do, 11 refused,\n"
    "12 failed (Velmora is as it was), 2 wrong command line.\n"
    "--set-journal-aside, for support only: renames the journal of an update that\n"
    "broke off and cannot be read (JOURNAL, its Windows path as the wizard names\n"
    "it) to UpdateJournaal-opzij-N.txt beside it, kept, and prints that path. The\n"
    "wizard then no longer undoes that update: check the installation first.\n"};

// The journal is renamed, never deleted: support may still need what it says.
int SetJournalAside(const std::string& journal) {
  if (vmu::AsciiUpper(vmu::FileNameOfPath(journal)) != vmu::AsciiUpper(vmu::kJournalFileName))
    return vmu::cli::UsageError(kProgram, std::string("JOURNAL must name the file ") + vmu::kJournalFileName,
                                std::cerr);
  try {
    vmu::HostFileSystem fs(vmu::DriveMap(vmu::DriveMap::DefaultPrefix()));
    const std::string folder = vmu::DirectoryOfPath(journal);
    if (!fs.FileExists(vmu::JournalPath(folder))) vmu::Raise(vmu::kFileNotFound);
    std::cout << vmu::SetJournalAside(fs, folder) << '\n';
    return 0;
  } catch (const vmu::VbError& e) {
    std::cerr << "vmupdate-script: " << journal << ": " << e.description() << '\n';
    return 1;
  }
}

int Unattended(const vmu::cli::Arguments& args) {
  if (args.Has("--package") == args.Has("--feed"))
    return vmu::cli::UsageError(kProgram, "--unattended takes --package FILE or --feed", std::cerr);
  if (!args.operands.empty() || args.Has("--gui") || args.Has("--shots") || args.Has("--maintenance"))
    return vmu::cli::UsageError(kProgram, "--unattended runs no script and shows no window", std::cerr);
  return vmu::RunUnattended({args.Value("--package"), args.Value("--program-folder")}, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
  vmu::cli::Arguments args;
  const std::vector<vmu::cli::Option> options_known = {
      {"--gui"},  {"--maintenance"},   {"--shots", true},          {"--unattended"},
      {"--feed"}, {"--package", true}, {"--program-folder", true}, {"--set-journal-aside", true}};
  if (auto status = vmu::cli::Parse(kProgram, argc, argv, options_known, args, std::cout, std::cerr)) return *status;
  if (args.Has("--set-journal-aside")) return SetJournalAside(args.Value("--set-journal-aside"));
  if (args.Has("--unattended")) return Unattended(args);
  if (args.Has("--package") || args.Has("--feed") || args.Has("--program-folder"))
    return vmu::cli::UsageError(kProgram, "--package, --feed and --program-folder go with --unattended", std::cerr);
  if (args.operands.size() > 1) return vmu::cli::UsageError(kProgram, "one SCRIPT at most", std::cerr);
  vmu::ScriptOptions options;
  options.maintenance = args.Has("--maintenance");
  const std::string shots = args.Value("--shots");
  // "-" is standard input, as for other filters.
  const std::string script = args.operands.empty() || args.operands.front() == "-" ? "" : args.operands.front();
  const bool gui = args.Has("--gui") || !shots.empty();
  if (!shots.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(shots, ec);
    if (ec) {
      std::cerr << "vmupdate-script: cannot create " << shots << ": " << ec.message() << '\n';
      return 2;
    }
  }
  std::ifstream file;
  if (!script.empty()) {
    // A folder opens as a stream that reads nothing: the run would pass unseen.
    if (std::filesystem::is_directory(script)) {
      std::cerr << "vmupdate-script: cannot read " << script << ": it is a folder\n";
      return 2;
    }
    file.open(script);
    if (!file) {
      std::cerr << "vmupdate-script: cannot read " << script << '\n';
      return 2;
    }
  }
  std::istream& in = script.empty() ? std::cin : file;
  std::unique_ptr<GuiWindow> window;
  if (gui) window = std::make_unique<GuiWindow>(argc, argv, shots);
  return vmu::RunScript(in, std::cout, window.get(), options);
}
