// vmupdate-script [--gui] [--shots DIR] [--maintenance] [SCRIPT]: runs the
// wizard headless from a script of user actions and prints the transcript.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "app/script/script_runner.h"
#include "platform/qt/offscreen_gui.h"

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

int Usage() {
  std::cerr << "usage: vmupdate-script [--gui] [--shots DIR] [--maintenance] [SCRIPT]\n"
               "Runs the update wizard from a script of user actions (standard input when no\n"
               "SCRIPT is given) and prints what the window does. --gui also drives the real\n"
               "window offscreen; --shots saves a picture of it after every command.\n"
               "--maintenance shows the service buttons (comparetables, directories).\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool gui = false;
  vmu::ScriptOptions options;
  std::string shots;
  std::string script;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--gui") {
      gui = true;
    } else if (arg == "--maintenance") {
      options.maintenance = true;
    } else if (arg == "--shots" && i + 1 < argc) {
      shots = argv[++i];
    } else if (arg == "--help" || arg == "-h" || (!arg.empty() && arg[0] == '-') || !script.empty()) {
      return Usage();
    } else {
      script = arg;
    }
  }
  if (!shots.empty()) {
    gui = true;
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
