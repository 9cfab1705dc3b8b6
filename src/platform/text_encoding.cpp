#include "platform/text_encoding.h"

#include "platform/code_points.h"

namespace vmu {

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char byte : bytes) AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(byte)));
  return out;
}

std::string Utf8ToCp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp;
    const std::size_t length = DecodeUtf8At(text, pos, cp);
    if (length == 0) {
      out += text[pos++];  // not UTF-8: already a Windows-1252 byte
      continue;
    }
    pos += length;
    const int byte = CodePointToCp1252(cp);
    out += byte < 0 ? '?' : static_cast<char>(byte);
  }
  return out;
}

}  // namespace vmu
