#include "app/script/script_processes.h"

#include "views/headless/transcript.h"

namespace vmu {

double ScriptProcesses::Start(const std::string& command_line, WindowStyle style) {
  out_ << "start " << Quote(command_line) << " style " << (style == WindowStyle::Minimized ? "minimized" : "maximized")
       << '\n'
       << std::flush;
  return host_.Start(command_line, style);
}

}  // namespace vmu
