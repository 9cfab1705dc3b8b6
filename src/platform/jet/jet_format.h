// Jet's Format(value, format) for the patterns that queries use: named
// formats ("Short Date", "Percent", "Standard", ...), date patterns
// ("dd-mm-yyyy", "mmmm yyyy", "hh:nn") and number patterns ("0.00",
// "#,##0.00", "0.0%", with sections for negative and zero values).
//
// Names of months and days, the short date and Yes/No texts are the users'
// Dutch ones; numbers use the decimal point and the comma for thousands, so
// that the text means the same on every machine. Separators in a pattern
// ("/", "-", ":") are written as they stand.
#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace vmu {

// A number, or a text (a date in text, or anything else); never null.
using FormatArgument = std::variant<double, std::string>;

// Raises 6 (Overflow) for a number beyond the doubles' range, or one that
// a percent pattern would take beyond it.
std::string JetFormat(const FormatArgument& value, std::string_view format);

}  // namespace vmu
