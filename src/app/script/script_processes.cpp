#include "app/script/script_processes.h"

#include "views/headless/transcript.h"

namespace vmu {

namespace {

void PrintStart(std::ostream& out_, const std::string& command_line, WindowStyle style) {
  out_ << "start " << Quote(command_line) << " style " << (style == WindowStyle::Minimized ? "minimized" : "maximized")
       << '\n'
       << std::flush;
}

}  // namespace

double ScriptProcesses::Start(const std::string& command_line, WindowStyle style) {
  PrintStart(out_, command_line, style);
  return host_.Start(command_line, style);
}

double ScriptProcesses::StartWatched(const std::string& command_line, WindowStyle style) {
  PrintStart(out_, command_line, style);
  return host_.StartWatched(command_line, style);
}

}  // namespace vmu
