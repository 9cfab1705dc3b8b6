#include "tools/pack/number_text.h"

namespace vmu::pack {

std::optional<long long> ParseWholeNumber(std::string_view text, long long low, long long high) {
  const auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  bool too_big = false;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    // Stop adding past any range we accept, but keep checking the digits.
    if (!too_big) value = value * 10 + (ch - '0');
    if (value > (1LL << 40)) too_big = true;
  }
  if (too_big) return std::nullopt;
  if (negative) value = -value;
  if (value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace vmu::pack
