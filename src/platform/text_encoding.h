// Windows-1252 at the file boundary; UTF-8 inside the program.
#pragma once

#include <string>
#include <string_view>

namespace vmu {

// Each byte becomes one character. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 and so on, so that
// any byte string survives a round trip unchanged.
std::string Cp1252ToUtf8(std::string_view bytes);

// Each character becomes one byte; a character without a Windows-1252 byte
// becomes "?". Invalid UTF-8 bytes are taken as Windows-1252 bytes.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace vmu
