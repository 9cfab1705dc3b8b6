#include "files/format_version.h"

#include <cmath>
#include <cstdint>

namespace vmu {

namespace {

// The number with at least `digits` digits, zero-padded; a minus sign goes
// in front of the padding ("-01").
std::string Padded(int64_t value, std::size_t digits) {
  std::string text = std::to_string(value < 0 ? -value : value);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return value < 0 ? "-" + text : text;
}

}  // namespace

std::string FormatVersion(int version, bool with_update, int update_number) {
  // 64 bits: the group arithmetic of a negative version leaves the 32-bit range.
  int64_t rest = version;
  std::string text;
  for (int64_t divisor : {int64_t{10000}, int64_t{100}}) {
    auto group = static_cast<int64_t>(std::floor(static_cast<double>(rest) / static_cast<double>(divisor)));
    text += Padded(group, 2) + ".";
    rest -= divisor * group;
  }
  text += Padded(rest, 2);
  if (with_update) text += " / " + Padded(update_number, 4);
  return text;
}

}  // namespace vmu
