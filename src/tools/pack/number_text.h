// Whole numbers in manifest and file-list text, taken the way the wizard
// converts them: blanks around the number, an optional sign, digits.
#pragma once

#include <optional>
#include <string_view>

namespace vmu::pack {

// The number, or nothing when the text is not a whole number within [low, high].
std::optional<long long> ParseWholeNumber(std::string_view text, long long low, long long high);

}  // namespace vmu::pack
