#include "platform/jet/jet_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/ascii.h"
#include "platform/error.h"
#include "platform/jet/jet_date.h"
#include "platform/jet/jet_text.h"

namespace vmu {

namespace {

const char* const kMonths[] = {"januari", "februari", "maart",     "april",   "mei",      "juni",
                               "juli",    "augustus", "september", "oktober", "november", "december"};
const char* const kMonthsShort[] = {"jan", "feb", "mrt", "apr", "mei", "jun", "jul", "aug", "sep", "okt", "nov", "dec"};
const char* const kDays[] = {"zondag", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag"};
const char* const kDaysShort[] = {"zo", "ma", "di", "wo", "do", "vr", "za"};

constexpr const char* kShortDate = "d-m-yyyy";
constexpr const char* kLongDate = "dddd d mmmm yyyy";
constexpr const char* kLongTime = "h:nn:ss";

std::string Padded(int value, int width) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
  return buffer;
}

// ---- dates ----

std::optional<JetDate> DateOf(const FormatArgument& value) {
  if (const double* number = std::get_if<double>(&value)) return DateOfSerial(*number);
  const std::string& text = std::get<std::string>(value);
  if (auto date = ParseDate(text, DateOrder::kDayMonthYear)) return date;
  if (auto number = ParseNumber(text)) return DateOfSerial(*number);
  return std::nullopt;
}

size_t RunLength(std::string_view f, size_t i) {
  size_t n = 1;
  while (i + n < f.size() && AsciiLower(f[i + n]) == AsciiLower(f[i])) ++n;
  return n;
}

// Whether the next date token after position i is a seconds token: "m"
// before "s" means minutes.
bool SecondsFollow(std::string_view f, size_t i) {
  for (; i < f.size(); ++i) {
    char c = static_cast<char>(AsciiLower(f[i]));
    if (c == 's') return true;
    if (IsAsciiLetter(c) || c == '"') return false;
  }
  return false;
}

std::string FormatDate(const JetDate& d, std::string_view f);

std::string GeneralDate(const JetDate& d) {
  if (!d.has_date) return FormatDate(d, kLongTime);
  bool time = d.hour || d.minute || d.second;
  return FormatDate(d, kShortDate) + (time ? " " + FormatDate(d, kLongTime) : "");
}

std::string FormatDate(const JetDate& d, std::string_view f) {
  std::string lower = AsciiLower(f);
  bool twelve_hours = lower.find("am/pm") != std::string::npos || lower.find("a/p") != std::string::npos ||
                      lower.find("ampm") != std::string::npos;
  std::string out;
  bool after_hour = false;
  for (size_t i = 0; i < f.size();) {
    char c = lower[i];
    size_t n = RunLength(f, i);
    if (c == '"') {
      size_t close = f.find('"', i + 1);
      if (close == std::string_view::npos) close = f.size();
      out.append(f.substr(i + 1, close - i - 1));
      i = close + 1;
      continue;
    }
    if (c == '\\' && i + 1 < f.size()) {
      out += f[i + 1];
      i += 2;
      continue;
    }
    if (lower.compare(i, 5, "am/pm") == 0 || lower.compare(i, 3, "a/p") == 0 || lower.compare(i, 4, "ampm") == 0) {
      size_t length = lower.compare(i, 5, "am/pm") == 0 ? 5 : lower.compare(i, 3, "a/p") == 0 ? 3 : 4;
      bool pm = d.hour >= 12;
      std::string text = length == 3 ? (pm ? "P" : "A") : (pm ? "PM" : "AM");
      if (f[i] >= 'a' && f[i] <= 'z') text = AsciiLower(text);
      out += text;
      i += length;
      continue;
    }
    bool minute_m = c == 'm' && (after_hour || SecondsFollow(f, i + n));
    switch (c) {
      case 'd':
        if (n == 1) out += std::to_string(d.day);
        else if (n == 2) out += Padded(d.day, 2);
        else if (n == 3) out += kDaysShort[Weekday(d) - 1];
        else if (n == 4) out += kDays[Weekday(d) - 1];
        else if (n == 5) out += FormatDate(d, kShortDate);
        else out += FormatDate(d, kLongDate);
        break;
      case 'w': out += std::to_string(Weekday(d)); break;
      case 'q': out += std::to_string((d.month - 1) / 3 + 1); break;
      case 'y':
        if (n == 1) out += std::to_string(DaysFromCivil(d.year, d.month, d.day) - DaysFromCivil(d.year, 1, 1) + 1);
        else if (n < 4) out += Padded(d.year % 100, 2);
        else out += Padded(d.year, 4);
        break;
      case 'm':
        if (minute_m) out += n == 1 ? std::to_string(d.minute) : Padded(d.minute, 2);
        else if (n == 1) out += std::to_string(d.month);
        else if (n == 2) out += Padded(d.month, 2);
        else if (n == 3) out += kMonthsShort[d.month - 1];
        else out += kMonths[d.month - 1];
        break;
      case 'h': {
        int hour = twelve_hours ? (d.hour % 12 == 0 ? 12 : d.hour % 12) : d.hour;
        out += n == 1 ? std::to_string(hour) : Padded(hour, 2);
        break;
      }
      case 'n': out += n == 1 ? std::to_string(d.minute) : Padded(d.minute, 2); break;
      case 's': out += n == 1 ? std::to_string(d.second) : Padded(d.second, 2); break;
      case 't':
        if (n == 5) out += FormatDate(d, kLongTime);
        else out.append(f.substr(i, n));
        break;
      case 'c': out += GeneralDate(d); break;
      default: out.append(f.substr(i, n)); break;
    }
    if (IsAsciiLetter(c)) after_hour = c == 'h';
    i += n;
  }
  return out;
}

// ---- numbers ----

// |value| rounded half away from zero to `decimals` places, from its first
// 15 significant digits (what Jet shows of a double).
void DecimalDigits(double value, int decimals, std::string& whole, std::string& fraction) {
  whole = "0";
  fraction.assign(decimals, '0');
  value = std::fabs(value);
  if (value == 0 || !std::isfinite(value)) return;
  // "%.14e", with a decimal point whatever the process locale.
  char buffer[40];
  const char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
  const char* e = std::find(static_cast<const char*>(buffer), end, 'e');
  std::string digits;
  for (const char* p = buffer; p != e; ++p)
    if (IsAsciiDigit(*p)) digits += *p;
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
  int point = exponent + 1;  // digits before the decimal point
  std::string w, f;
  if (point <= 0) {
    w = "0";
    f = std::string(-point, '0') + digits;
  } else if (point >= static_cast<int>(digits.size())) {
    w = digits + std::string(point - digits.size(), '0');
  } else {
    w = digits.substr(0, point);
    f = digits.substr(point);
  }
  bool up = static_cast<int>(f.size()) > decimals && f[decimals] >= '5';
  f.resize(decimals, '0');
  if (up) {
    std::string all = w + f;
    int i = static_cast<int>(all.size()) - 1;
    while (i >= 0 && all[i] == '9') all[i--] = '0';
    if (i < 0) all.insert(all.begin(), '1');
    else ++all[i];
    w = all.substr(0, all.size() - decimals);
    f = all.substr(all.size() - decimals);
  }
  size_t first = w.find_first_not_of('0');
  whole = first == std::string::npos ? "0" : w.substr(first);
  fraction = f;
}

struct NumberPattern {
  std::string prefix, suffix;
  int min_whole = 0, min_fraction = 0, max_fraction = 0;
  bool point = false, grouping = false, percent = false;
  bool scientific = false, exponent_sign_always = false;
  int exponent_digits = 0;
};

NumberPattern ParsePattern(std::string_view f) {
  NumberPattern p;
  bool started = false, ended = false;
  auto literal = [&](std::string_view text) { (started ? p.suffix : p.prefix).append(text); };
  for (size_t i = 0; i < f.size(); ++i) {
    char c = f[i];
    bool placeholder = c == '0' || c == '#';
    if (placeholder && !ended) {
      started = true;
      if (p.scientific) ++p.exponent_digits;
      else if (p.point) {
        ++p.max_fraction;
        if (c == '0') p.min_fraction = p.max_fraction;
      } else if (c == '0') {
        ++p.min_whole;
      }
    } else if (c == '.' && !p.point && !ended && !p.scientific) {
      p.point = true;
      started = true;
    } else if (c == ',' && started && !p.point && !ended) {
      p.grouping = true;
    } else if ((c == 'E' || c == 'e') && started && i + 1 < f.size() && (f[i + 1] == '+' || f[i + 1] == '-')) {
      p.scientific = true;
      p.exponent_sign_always = f[i + 1] == '+';
      ++i;
    } else {
      if (started) ended = true;
      if (c == '%') p.percent = true;
      if (c == '"') {
        size_t close = f.find('"', i + 1);
        if (close == std::string_view::npos) close = f.size();
        literal(f.substr(i + 1, close - i - 1));
        i = close;
      } else if (c == '\\' && i + 1 < f.size()) {
        literal(f.substr(++i, 1));
      } else {
        literal(f.substr(i, 1));
      }
    }
  }
  return p;
}

std::string Grouped(const std::string& whole) {
  std::string out;
  for (size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
    out += whole[i];
  }
  return out;
}

std::string DigitsOf(double value, const NumberPattern& p) {
  std::string whole, fraction;
  DecimalDigits(value, p.max_fraction, whole, fraction);
  while (static_cast<int>(fraction.size()) > p.min_fraction && fraction.back() == '0') fraction.pop_back();
  if (whole == "0" && p.min_whole == 0) whole.clear();
  if (static_cast<int>(whole.size()) < p.min_whole) whole.insert(0, p.min_whole - whole.size(), '0');
  if (p.grouping) whole = Grouped(whole);
  return whole + (p.point ? "." + fraction : "");
}

std::string FormatNumberSection(double value, std::string_view section, bool with_sign) {
  NumberPattern p = ParsePattern(section);
  double magnitude = std::fabs(value) * (p.percent ? 100 : 1);
  // Jet's doubles hold no infinity: a percentage of a huge number overflows.
  if (!std::isfinite(magnitude)) Raise(kOverflow);
  std::string body;
  if (p.scientific) {
    int whole_digits = std::max(p.min_whole, 1);
    int exponent = magnitude == 0 ? 0 : static_cast<int>(std::floor(std::log10(magnitude))) - (whole_digits - 1);
    std::string mantissa = DigitsOf(magnitude / std::pow(10.0, exponent), p);
    if (magnitude != 0 && mantissa.find('.') != std::string::npos &&
        static_cast<int>(mantissa.find('.')) > whole_digits) {  // 9.99 rounded up to 10.0
      ++exponent;
      mantissa = DigitsOf(magnitude / std::pow(10.0, exponent), p);
    }
    std::string sign = exponent < 0 ? "-" : p.exponent_sign_always ? "+" : "";
    body = mantissa + "E" + sign + Padded(std::abs(exponent), std::max(p.exponent_digits, 1));
  } else {
    body = DigitsOf(magnitude, p);
  }
  return (with_sign && value < 0 ? "-" : "") + p.prefix + body + p.suffix;
}

std::vector<std::string_view> Sections(std::string_view f) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  bool quoted = false;
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] == '"') quoted = !quoted;
    else if (f[i] == '\\') ++i;
    else if (f[i] == ';' && !quoted) {
      sections.push_back(f.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(f.substr(start));
  return sections;
}

std::string FormatNumber(double value, std::string_view f) {
  std::vector<std::string_view> sections = Sections(f);
  if (value < 0 && sections.size() > 1 && !sections[1].empty()) return FormatNumberSection(value, sections[1], false);
  if (value == 0 && sections.size() > 2 && !sections[2].empty()) return FormatNumberSection(value, sections[2], false);
  return FormatNumberSection(value, sections[0], true);
}

bool IsDatePattern(std::string_view f) {
  bool date = false;
  for (size_t i = 0; i < f.size(); ++i) {
    char c = static_cast<char>(AsciiLower(f[i]));
    if (c == '"') {
      size_t close = f.find('"', i + 1);
      i = close == std::string_view::npos ? f.size() : close;
    } else if (c == '\\') {
      ++i;
    } else if (c == '0' || c == '#') {
      return false;
    } else if (std::string_view("dmyhnswqtc").find(c) != std::string_view::npos) {
      date = true;
    }
  }
  return date;
}

}  // namespace

std::string JetFormat(const FormatArgument& value, std::string_view format) {
  const std::string* text = std::get_if<std::string>(&value);
  std::optional<double> number = text ? ParseNumber(*text) : std::get<double>(value);
  if (!text && !std::isfinite(*number)) Raise(kOverflow);
  std::string name = AsciiLower(format);

  if (format.empty() || name == "general number") return text ? *text : NumberText(*number);
  if (name == ">" || name == "<") {
    std::string plain = text ? *text : NumberText(*number);
    return name == ">" ? UpperText(plain) : LowerText(plain);
  }
  if (name == "yes/no" || name == "true/false" || name == "on/off") {
    if (!number) return *text;
    bool on = *number != 0;
    if (name == "yes/no") return on ? "Ja" : "Nee";
    if (name == "true/false") return on ? "Waar" : "Onwaar";
    return on ? "Aan" : "Uit";
  }

  static const std::pair<const char*, const char*> kNamedNumbers[] = {{"currency", "€ #,##0.00;€ -#,##0.00"},
                                                                      {"euro", "€ #,##0.00;€ -#,##0.00"},
                                                                      {"fixed", "0.00"},
                                                                      {"standard", "#,##0.00"},
                                                                      {"percent", "0.00%"},
                                                                      {"scientific", "0.00E+00"}};
  for (auto [named, pattern] : kNamedNumbers)
    if (name == named) return number ? FormatNumber(*number, pattern) : *text;

  static const std::pair<const char*, const char*> kNamedDates[] = {
      {"long date", kLongDate},       {"medium date", "d-mmm-yy"}, {"short date", kShortDate}, {"long time", kLongTime},
      {"medium time", "hh:nn AM/PM"}, {"short time", "hh:nn"},     {"general date", ""}};
  for (auto [named, pattern] : kNamedDates) {
    if (name != named) continue;
    auto date = DateOf(value);
    if (!date) return text ? *text : NumberText(*number);
    return *pattern ? FormatDate(*date, pattern) : GeneralDate(*date);
  }

  if (IsDatePattern(format)) {
    auto date = DateOf(value);
    if (!date) return text ? *text : NumberText(*number);
    return FormatDate(*date, format);
  }
  if (!number) return *text;  // text that is no number is shown as it stands
  return FormatNumber(*number, format);
}

}  // namespace vmu
