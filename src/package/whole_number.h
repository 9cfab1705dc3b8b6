// Whole numbers in manifest, file-list and settings text, read the way the
// wizard converts them: blanks around the number, an optional sign, digits.
#pragma once

#include <string_view>

namespace vmu::package {

// The values a number type of the wizard holds.
struct NumberRange {
  long long low;
  long long high;
};

inline constexpr NumberRange kLongRange{-2147483648LL, 2147483647LL};  // 32-bit
inline constexpr NumberRange kIntegerRange{-32768, 32767};             // 16-bit
inline constexpr NumberRange kByteRange{0, 255};

enum class NumberProblem { kNone, kNotANumber, kOutOfRange };

struct WholeNumber {
  long long value = 0;
  NumberProblem problem = NumberProblem::kNone;
  bool ok() const { return problem == NumberProblem::kNone; }
};

// A text with anything but blanks, one sign and digits is no number, even
// when its digits alone would be too large; otherwise a value outside the
// range is out of range.
WholeNumber ReadWholeNumber(std::string_view text, NumberRange range);

}  // namespace vmu::package
