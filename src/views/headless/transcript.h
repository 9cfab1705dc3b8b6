// The line format of the headless transcript.
#pragma once

#include <string>

#include "wizard/wizard_view.h"

namespace vmu {

// "text" in double quotes with \\, \", \r, \n and \t escaped.
std::string Quote(const std::string& text);
const char* Bool(bool value);
// "state <control> ..." for a dump.
std::string StateLine(Control c, const ControlState& s);

}  // namespace vmu
