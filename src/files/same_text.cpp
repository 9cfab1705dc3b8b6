#include "files/same_text.h"

#include "platform/code_points.h"
#include "platform/ini_text.h"

namespace vmu {

bool SameText(std::string_view a, std::string_view b) {
  if (a == b) return true;
  return IniNamesEqual(Utf8ToCodePoints(a), Utf8ToCodePoints(b));
}

}  // namespace vmu
