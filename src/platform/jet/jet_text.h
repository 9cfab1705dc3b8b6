// Text as Jet treats it: UTF-8 characters, comparison without regard to
// case, and numbers turned into text and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmu {

// Decodes the UTF-8 character at pos and advances pos. A byte that starts no
// valid character comes back as kRawByte + the byte, which AppendChar writes
// back unchanged, so no input is ever altered.
constexpr char32_t kRawByte = 0x110000;
char32_t NextChar(std::string_view text, size_t& pos);
void AppendChar(std::string& out, char32_t c);

// Letter case for Latin (ASCII, Latin-1, Latin Extended-A), Greek and
// Cyrillic: the scripts the application's texts use.
char32_t LowerChar(char32_t c);
char32_t UpperChar(char32_t c);
std::string LowerText(std::string_view text);
std::string UpperText(std::string_view text);

// The letter without case and accent ('É' -> 'e'), for ordering.
char32_t BaseLetter(char32_t c);

// Orders texts as Jet does: letters without regard to case, accents after
// the letters themselves.
int CompareNoCase(std::string_view a, std::string_view b);

size_t CharCount(std::string_view text);
// Byte offset of the character with that 0-based index; the text's size
// when the text is shorter.
size_t ByteOffset(std::string_view text, size_t chars);

// A number as Jet writes it in text: up to 15 significant digits, no
// trailing zeros, exponent form only for very large or small numbers.
// The decimal separator is always the point, so that the text reads back
// as the same number.
std::string NumberText(double value);

// Text that is a number as a whole, blanks around allowed ("12", " -1.5e3 ").
// A number too small for a double reads as the nearest one (0); one too
// large reads as infinity, which callers report as Overflow, except up to
// the largest double's own text, which reads as that double.
std::optional<double> ParseNumber(std::string_view text);

}  // namespace vmu
