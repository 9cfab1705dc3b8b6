// Code-point level helpers shared by the text codecs and the INI reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vmu {

// The character a Windows-1252 byte stands for; the five undefined bytes
// map to the C1 control with the same number so that nothing is lost.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte for a character, or -1 when it has none.
int CodePointToCp1252(char32_t cp);

// Decodes one well-formed UTF-8 sequence at pos into cp and returns its
// length; returns 0 (cp untouched) for an invalid, overlong or cut-off one.
std::size_t DecodeUtf8At(std::string_view text, std::size_t pos, char32_t& cp);

void AppendUtf8(std::string& out, char32_t cp);

// UTF-8 text as characters; a byte that does not start a valid sequence is
// taken as a Windows-1252 byte, the way the rest of the program treats it.
std::u32string Utf8ToCodePoints(std::string_view text);
std::string CodePointsToUtf8(std::u32string_view text);

}  // namespace vmu
