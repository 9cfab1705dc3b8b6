// The Jet functions' pure parts: Format, numbers as text and back, dates,
// Like and letter case. Input: a value text, NUL, a pattern text, and the
// last 8 bytes also taken as a double. Format may refuse a number with
// Overflow, nothing else; a number's text reads back.
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/error.h"
#include "platform/jet/jet_date.h"
#include "platform/jet/jet_format.h"
#include "platform/jet/jet_like.h"
#include "platform/jet/jet_text.h"

using vmu::fuzz::Require;

namespace {

void Format(const vmu::FormatArgument& value, std::string_view pattern) {
  try {
    vmu::JetFormat(value, pattern);
  } catch (const vmu::VbError& error) {
    Require(error.number() == vmu::kOverflow, "Format fails only with Overflow");
  }
}

void NumberReadsBack(double number) {
  if (!std::isfinite(number)) return;
  const std::string text = vmu::NumberText(number);
  const auto back = vmu::ParseNumber(text);
  Require(back && std::isfinite(*back), "a number's text reads back as a number");
  Require(vmu::NumberText(*back) == text, "and gives the same text again");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 2048) return 0;
  std::string_view rest = vmu::fuzz::Bytes(data, size);
  const std::string value(vmu::fuzz::Field(rest));
  const std::string_view pattern = rest;

  double raw = 0;
  if (size >= sizeof raw) std::memcpy(&raw, data + size - sizeof raw, sizeof raw);
  Format(value, pattern);
  if (std::isfinite(raw)) Format(raw, pattern);
  NumberReadsBack(raw);
  if (auto number = vmu::ParseNumber(value)) {
    NumberReadsBack(*number);
    if (std::isfinite(*number)) Format(*number, pattern);
  }
  for (auto order : {vmu::DateOrder::kMonthDayYear, vmu::DateOrder::kDayMonthYear})
    if (auto date = vmu::ParseDate(value, order)) vmu::IsoText(*date);
  if (auto date = vmu::DateOfSerial(raw)) vmu::IsoText(*date);
  vmu::JetLike(value, pattern);
  vmu::JetLike(value, pattern, U'!');
  vmu::CompareNoCase(vmu::UpperText(value), vmu::LowerText(pattern));
  return 0;
}
