#include "platform/mdb/jet_values.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/code_points.h"
#include "platform/jet/jet_date.h"
#include "platform/text_encoding.h"

namespace vmu {

namespace {

void AppendUtf16(std::string& out, std::string_view units) {
  for (size_t i = 0; i + 1 < units.size(); i += 2) {
    char32_t cp = static_cast<unsigned char>(units[i]) | static_cast<unsigned char>(units[i + 1]) << 8;
    if (cp >= 0xD800 && cp < 0xDC00 && i + 3 < units.size()) {
      char32_t low = static_cast<unsigned char>(units[i + 2]) | static_cast<unsigned char>(units[i + 3]) << 8;
      if (low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (cp >= 0xD800 && cp < 0xE000) cp = 0xFFFD;  // a lone surrogate
    AppendUtf8(out, cp);
  }
}

// Digits of an unsigned 128-bit number.
std::string Digits(unsigned __int128 n) {
  std::string s;
  do {
    s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
    n /= 10;
  } while (n != 0);
  return s;
}

std::string ScaledText(unsigned __int128 magnitude, bool negative, int scale) {
  std::string digits = Digits(magnitude);
  if (scale > 0) {
    if (static_cast<int>(digits.size()) <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
    digits.insert(digits.size() - scale, 1, '.');
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
  }
  if (negative && digits != "0") digits.insert(0, 1, '-');
  return digits;
}

}  // namespace

std::string Jet4TextToUtf8(std::string_view bytes) {
  std::string out;
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE) {
    AppendUtf16(out, bytes);
    return out;
  }
  bool one_byte = true;
  for (size_t i = 2; i < bytes.size();) {
    if (bytes[i] == 0) {
      one_byte = !one_byte;
      ++i;
    } else if (one_byte) {
      AppendUtf8(out, static_cast<unsigned char>(bytes[i++]));
    } else {
      AppendUtf16(out, bytes.substr(i, 2));
      i += 2;
    }
  }
  return out;
}

std::string Jet3TextToUtf8(std::string_view bytes, int code_page) {
  if (code_page == 0 || code_page == 1252) return Cp1252ToUtf8(bytes);
  const std::string name = "CP" + std::to_string(code_page);
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return Cp1252ToUtf8(bytes);
  std::string out(bytes.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  char* dst = out.data();
  size_t out_left = out.size();
  while (in_left > 0) {
    if (iconv(cd, &in, &in_left, &dst, &out_left) != static_cast<size_t>(-1)) break;
    // A byte the code page leaves undefined: the replacement character.
    ++in;
    --in_left;
    std::memcpy(dst, "\xEF\xBF\xBD", 3);
    dst += 3;
    out_left -= 3;
  }
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

FieldValue ExactNumber(std::string_view text) {
  const std::string t(text);
  const size_t point = t.find('.');
  if (point == std::string::npos) {
    errno = 0;
    char* end = nullptr;
    const long long whole = std::strtoll(t.c_str(), &end, 10);
    if (errno == 0 && *end == '\0') return static_cast<std::int64_t>(whole);
  }
  size_t significant = 0;
  bool leading = true;
  for (char c : t) {
    if (c < '0' || c > '9') continue;
    if (leading && c == '0') continue;
    leading = false;
    ++significant;
  }
  double real = 0;
  if (significant <= 15 && std::from_chars(t.data() + (t[0] == '-'), t.data() + t.size(), real).ec == std::errc()) {
    return t[0] == '-' ? -real : real;
  }
  return t;
}

FieldValue CurrencyValue(const unsigned char* b) {
  std::uint64_t raw = 0;
  for (int i = 7; i >= 0; --i) raw = raw << 8 | b[i];
  const bool negative = raw >> 63;
  const std::uint64_t magnitude = negative ? ~raw + 1 : raw;
  return ExactNumber(ScaledText(magnitude, negative, 4));
}

FieldValue DecimalValue(const unsigned char* b, int scale) {
  unsigned __int128 magnitude = 0;
  for (int word = 0; word < 4; ++word) {
    const unsigned char* w = b + 1 + 4 * word;
    const std::uint32_t v = w[0] | w[1] << 8 | w[2] << 16 | static_cast<std::uint32_t>(w[3]) << 24;
    magnitude = magnitude << 32 | v;
  }
  return ExactNumber(ScaledText(magnitude, (b[0] & 0x80) != 0, scale < 0 || scale > 28 ? 0 : scale));
}

double SingleValue(float value) {
  // to_chars gives the shortest digits and, unlike printf, no locale's comma.
  char text[32];
  const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  double shortest = value;
  if (ec == std::errc()) std::from_chars(text, end, shortest);
  return shortest;
}

FieldValue DateValue(double serial) {
  std::optional<JetDate> date = DateOfSerial(serial);
  if (!date || date->year < 100) return Null{};
  // Jet keeps a time of day alone as a time on day zero.
  if (date->has_time && serial >= 0 && serial < 1) date->has_date = false;
  return IsoText(*date);
}

std::string GuidText(const unsigned char* k) {
  char text[40];
  std::snprintf(text, sizeof text, "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", k[3], k[2],
                k[1], k[0], k[5], k[4], k[7], k[6], k[8], k[9], k[10], k[11], k[12], k[13], k[14], k[15]);
  return text;
}

}  // namespace vmu
