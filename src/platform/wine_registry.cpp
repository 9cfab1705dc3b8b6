#include "platform/wine_registry.h"

#include "platform/ascii.h"

namespace vmu {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Reads an escaped text from pos up to the closing `end` character; pos ends
// just after it. Wine writes characters above 127 as UTF-16 units (\x00e9);
// they come back as UTF-8. Returns false when the text is not closed.
bool ReadEscaped(std::string_view line, size_t& pos, char end, std::string& out) {
  char16_t high_surrogate = 0;
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == end) return true;
    if (c != '\\' || pos >= line.size()) {
      out += c;
      continue;
    }
    c = line[pos++];
    if (c == 'x') {
      char32_t unit = 0;
      for (int n = 0; n < 4 && pos < line.size() && HexDigit(line[pos]) >= 0; ++n)
        unit = unit * 16 + HexDigit(line[pos++]);
      if (unit >= 0xD800 && unit < 0xDC00) {
        high_surrogate = static_cast<char16_t>(unit);
        continue;
      }
      if (unit >= 0xDC00 && unit < 0xE000 && high_surrogate)
        unit = 0x10000 + ((high_surrogate - 0xD800) << 10) + (unit - 0xDC00);
      high_surrogate = 0;
      AppendUtf8(out, unit);
    } else if (c >= '0' && c <= '7') {
      int value = c - '0';
      for (int n = 1; n < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++n)
        value = value * 8 + (line[pos++] - '0');
      out += static_cast<char>(value);
    } else {
      switch (c) {
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 'e': out += '\x1b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'v': out += '\v'; break;
        default: out += c;  // \\ \" \[ \]
      }
    }
  }
  return false;
}

}  // namespace

const std::string* WineRegistry::Value(std::string_view key, std::string_view name) const {
  const auto k = keys.find(AsciiLower(key));
  if (k == keys.end()) return nullptr;
  const auto v = k->second.find(AsciiLower(name));
  return v == k->second.end() ? nullptr : &v->second;
}

WineRegistry ParseWineRegistry(std::string_view text) {
  WineRegistry registry;
  std::map<std::string, std::string>* key = nullptr;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (line.rfind("#arch=", 0) == 0) {
      registry.arch = AsciiLower(TrimBlanks(line.substr(6)));
    } else if (!line.empty() && line[0] == '[') {
      size_t pos = 1;
      std::string path;
      key = ReadEscaped(line, pos, ']', path) ? &registry.keys[AsciiLower(path)] : nullptr;
    } else if (key && !line.empty() && (line[0] == '"' || line[0] == '@')) {
      size_t pos = 1;
      std::string name;
      if (line[0] == '"' && !ReadEscaped(line, pos, '"', name)) continue;
      // Only plain strings: str(2):, dword:, hex: and the rest are not needed.
      if (line.substr(pos, 2) != "=\"") continue;
      pos += 2;
      std::string value;
      if (ReadEscaped(line, pos, '"', value)) (*key)[AsciiLower(name)] = value;
    }
  }
  return registry;
}

}  // namespace vmu
