// Text comparison without regard to letter case, the way the platform
// compares file names and INI names (ASCII and the Windows-1252 letters).
#pragma once

#include <string_view>

namespace vmu {

bool SameText(std::string_view a, std::string_view b);

}  // namespace vmu
