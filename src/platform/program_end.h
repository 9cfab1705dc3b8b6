// Thrown by a view when the program must end at once. Only the outermost
// loop (the script driver, the Qt event handlers) catches it, so no close
// handling of the logic runs on the way out.
#pragma once

namespace vmu {

struct ProgramEnded {};

}  // namespace vmu
