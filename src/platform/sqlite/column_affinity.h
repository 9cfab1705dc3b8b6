// How SQLite stores a value in a column, by the column's declared type, and
// where that would change a text that Jet keeps as it is.
//
// SQLite gives a column declared with a type it does not know ("Memo",
// "Hyperlink", "Currency", "YesNo", "DateTime") numeric affinity: a text
// that reads as a number is stored as that number, so '007' becomes 7.
// For Jet's number, date and yes/no types that is what Jet does as well. For
// Jet's text types that SQLite does not recognize, it would silently change
// the data, so the write path refuses such a value instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmu {

enum class Affinity { kText, kNumeric, kInteger, kReal, kBlob };

// SQLite's rules: INT -> integer; CHAR, CLOB, TEXT -> text; BLOB or no type
// -> blob; REAL, FLOA, DOUB -> real; anything else numeric.
Affinity AffinityOf(std::string_view declared_type);

// A column that holds text for Jet but that SQLite would store numbers in.
bool TextColumnWithNumberAffinity(std::string_view declared_type);

// The text of the number SQLite stores for `text` in a column of that
// affinity; nothing when it stores the text itself.
std::optional<std::string> StoredNumberText(std::string_view text, Affinity affinity);

}  // namespace vmu
