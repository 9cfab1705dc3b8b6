#pragma once

#include <string>

namespace vmu {

// 10203 gives "01.02.03"; with the update number 7, "01.02.03 / 0007".
std::string FormatVersion(int version, bool with_update, int update_number);

}  // namespace vmu
