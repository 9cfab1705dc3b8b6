#include "platform/jet/jet_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/ascii.h"
#include "platform/code_points.h"

namespace vmu {

char32_t NextChar(std::string_view text, size_t& pos) {
  unsigned char b = static_cast<unsigned char>(text[pos]);
  if (b < 0x80) {
    ++pos;
    return b;
  }
  int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 && b < 0xF0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
  if (extra == 0 || pos + extra >= text.size()) {
    ++pos;
    return kRawByte + b;
  }
  char32_t c = b & (0x3F >> extra);
  for (int i = 1; i <= extra; ++i) {
    unsigned char next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kRawByte + b;
    }
    c = (c << 6) | (next & 0x3F);
  }
  pos += extra + 1;
  return c;
}

void AppendChar(std::string& out, char32_t c) {
  if (c >= kRawByte) {
    out += static_cast<char>(c - kRawByte);
  } else {
    AppendUtf8(out, c);
  }
}

char32_t LowerChar(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

char32_t UpperChar(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 32 : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  if (c == 0xFF) return 0x178;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c & ~char32_t{1};
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : c - 1;
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
  if (c >= 0x430 && c <= 0x44F) return c - 32;
  if (c >= 0x450 && c <= 0x45F) return c - 80;
  return c;
}

namespace {

template <typename Map>
std::string MapText(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) AppendChar(out, map(NextChar(text, pos)));
  return out;
}

}  // namespace

std::string LowerText(std::string_view text) { return MapText(text, LowerChar); }
std::string UpperText(std::string_view text) { return MapText(text, UpperChar); }

char32_t BaseLetter(char32_t c) {
  c = LowerChar(c);
  if (c >= 0xE0 && c <= 0xFF) {
    static const char kLatin1[] = "aaaaaaaceeeeiiiidnooooo\xF7ouuuuy\xFEy";
    char base = kLatin1[c - 0xE0];
    return base == '\xF7' || base == '\xFE' ? c : static_cast<char32_t>(base);
  }
  if (c == 0xDF) return 's';
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A by runs of one base letter.
    static const struct {
      char32_t last;
      char base;
    } kRuns[] = {{0x105, 'a'}, {0x10D, 'c'}, {0x111, 'd'}, {0x11B, 'e'}, {0x123, 'g'}, {0x127, 'h'}, {0x133, 'i'},
                 {0x135, 'j'}, {0x138, 'k'}, {0x142, 'l'}, {0x14B, 'n'}, {0x153, 'o'}, {0x159, 'r'}, {0x161, 's'},
                 {0x167, 't'}, {0x173, 'u'}, {0x175, 'w'}, {0x178, 'y'}, {0x17E, 'z'}, {0x17F, 's'}};
    for (const auto& run : kRuns)
      if (c <= run.last) return static_cast<char32_t>(run.base);
  }
  return c;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  // First the letters without accents, then the accents: "Eclair" < "Éclair"
  // < "Eva", as in Jet's sort order; letter case never counts.
  for (int level = 0; level < 2; ++level) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
      char32_t x = NextChar(a, i), y = NextChar(b, j);
      x = level == 0 ? BaseLetter(x) : LowerChar(x);
      y = level == 0 ? BaseLetter(y) : LowerChar(y);
      if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
  }
  return 0;
}

size_t CharCount(std::string_view text) {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); ++count) NextChar(text, pos);
  return count;
}

size_t ByteOffset(std::string_view text, size_t chars) {
  size_t pos = 0;
  for (size_t n = 0; n < chars && pos < text.size(); ++n) NextChar(text, pos);
  return pos;
}

std::string NumberText(double value) {
  if (value == 0) return "0";  // also for -0
  // to_chars, unlike printf, ignores the process locale (Qt sets it from the
  // environment, which would give a decimal comma).
  char buffer[40];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  for (char& c : text)
    if (c == 'e') c = 'E';
  return text;
}

namespace {

// A number text outside the doubles' range. Too small: the nearest double
// (0 or a denormal). Too large: the largest double when the text is no
// larger than that double's own 15-digit text ("1.79769313486232E+308"
// must read back), else infinity, which callers report as Overflow.
double BeyondDouble(std::string_view body) {
  const bool negative = body[0] == '-';
  long double wide = 0;
  const auto result = std::from_chars(body.data(), body.data() + body.size(), wide);
  double magnitude;
  if (result.ec == std::errc::result_out_of_range) {
    // Beyond even the wide type: the exponent tells which way.
    const size_t e = body.find_first_of("eE");
    magnitude = e != std::string_view::npos && body.find('-', e) != std::string_view::npos
                    ? 0
                    : std::numeric_limits<double>::infinity();
  } else if (std::fabs(wide) < 1) {
    magnitude = static_cast<double>(std::fabs(wide));
  } else {
    magnitude = std::fabs(wide) <= 1.79769313486232E+308L ? std::numeric_limits<double>::max()
                                                          : std::numeric_limits<double>::infinity();
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string_view::npos) return std::nullopt;
  size_t end = text.find_last_not_of(" \t") + 1;
  std::string_view body = text.substr(begin, end - begin);
  size_t i = 0;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
  size_t digits = 0;
  while (i < body.size() && IsAsciiDigit(body[i])) ++i, ++digits;
  if (i < body.size() && body[i] == '.') {
    ++i;
    while (i < body.size() && IsAsciiDigit(body[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
    size_t exponent_digits = 0;
    while (i < body.size() && IsAsciiDigit(body[i])) ++i, ++exponent_digits;
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != body.size()) return std::nullopt;
  if (body[0] == '+') body.remove_prefix(1);
  double value = 0;
  auto result = std::from_chars(body.data(), body.data() + body.size(), value);
  if (result.ec == std::errc::result_out_of_range) return BeyondDouble(body);
  return value;
}

}  // namespace vmu
