#include "package/whole_number.h"

namespace vmu::package {

namespace {

// Beyond every range we read; adding stops here so the value cannot wrap.
constexpr long long kTooBig = 1LL << 40;

bool IsBlank(char ch) { return ch == ' ' || ch == '\t'; }

}  // namespace

WholeNumber ReadWholeNumber(std::string_view text, NumberRange range) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return {0, NumberProblem::kNotANumber};
  long long value = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return {0, NumberProblem::kNotANumber};
    if (value <= kTooBig) value = value * 10 + (ch - '0');
  }
  if (negative) value = -value;
  if (value < range.low || value > range.high) return {0, NumberProblem::kOutOfRange};
  return {value, NumberProblem::kNone};
}

}  // namespace vmu::package
