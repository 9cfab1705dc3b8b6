#include "platform/jet/jet_date.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/ascii.h"

namespace vmu {

namespace {

constexpr long kSerialZero = -25569;  // 1899-12-30 as a day number

bool Valid(const JetDate& d) {
  if (d.has_date && (d.year < 100 || d.year > 9999 || d.month < 1 || d.month > 12 || d.day < 1 ||
                     d.day > DaysInMonth(d.year, d.month)))
    return false;
  return d.hour >= 0 && d.hour < 24 && d.minute >= 0 && d.minute < 60 && d.second >= 0 && d.second < 60;
}

// A run of digits at pos; -1 when there is none.
int Number(std::string_view text, size_t& pos, int* digits = nullptr) {
  size_t start = pos;
  long value = 0;
  while (pos < text.size() && IsAsciiDigit(text[pos]) && pos - start < 6) value = value * 10 + (text[pos++] - '0');
  if (digits) *digits = static_cast<int>(pos - start);
  return pos == start ? -1 : static_cast<int>(value);
}

void SkipBlanks(std::string_view text, size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

bool ParseTime(std::string_view text, size_t& pos, JetDate& d) {
  d.hour = Number(text, pos);
  if (d.hour < 0 || pos >= text.size() || text[pos] != ':') return false;
  ++pos;
  d.minute = Number(text, pos);
  if (d.minute < 0) return false;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    d.second = Number(text, pos);
    if (d.second < 0) return false;
    if (pos < text.size() && text[pos] == '.') {  // fractions of a second are dropped
      ++pos;
      while (pos < text.size() && IsAsciiDigit(text[pos])) ++pos;
    }
  }
  SkipBlanks(text, pos);
  std::string rest;
  for (size_t i = pos; i < text.size() && i < pos + 2; ++i) rest += AsciiUpper(text[i]);
  if (rest == "AM" || rest == "PM") {
    if (d.hour < 1 || d.hour > 12) return false;
    d.hour = d.hour % 12 + (rest == "PM" ? 12 : 0);
    pos += 2;
  }
  d.has_time = true;
  return true;
}

int FullYear(int year, int digits) {
  if (digits > 2) return year;
  return year < 30 ? 2000 + year : 1900 + year;  // Jet's two-digit year window
}

}  // namespace

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

long DaysFromCivil(long y, long m, long d) {
  y += (m - 1 >= 0 ? (m - 1) / 12 : -((12 - m) / 12));
  m = ((m - 1) % 12 + 12) % 12 + 1;
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + d - 1;
}

JetDate CivilFromDays(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  JetDate date;
  date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2));
  return date;
}

std::optional<JetDate> ParseDate(std::string_view text, DateOrder order) {
  size_t pos = 0;
  SkipBlanks(text, pos);
  JetDate d;
  size_t start = pos;
  int first_digits = 0;
  int a = Number(text, pos, &first_digits);
  if (a < 0) return std::nullopt;
  if (pos < text.size() && text[pos] == ':') {  // a time only
    pos = start;
    if (!ParseTime(text, pos, d)) return std::nullopt;
    d.has_date = false;
  } else {
    if (pos >= text.size() || (text[pos] != '/' && text[pos] != '-' && text[pos] != '.')) return std::nullopt;
    char separator = text[pos++];
    int b = Number(text, pos);
    if (b < 0) return std::nullopt;
    int c = -1, c_digits = 0;
    if (pos < text.size() && text[pos] == separator) {
      ++pos;
      c = Number(text, pos, &c_digits);
      if (c < 0) return std::nullopt;
    }
    if (first_digits == 4) {  // year first
      if (c < 0) return std::nullopt;
      d.year = a, d.month = b, d.day = c;
    } else {
      if (c < 0) {  // no year: this year, as Jet
        c = LocalNow().year;
        c_digits = 4;
      }
      d.year = FullYear(c, c_digits);
      d.month = order == DateOrder::kMonthDayYear ? a : b;
      d.day = order == DateOrder::kMonthDayYear ? b : a;
      if (!Valid(d)) std::swap(d.month, d.day);
    }
    if (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T')) {
      ++pos;
      SkipBlanks(text, pos);
      if (pos < text.size() && !ParseTime(text, pos, d)) return std::nullopt;
    }
  }
  SkipBlanks(text, pos);
  if (pos != text.size() || !Valid(d)) return std::nullopt;
  return d;
}

std::string IsoText(const JetDate& d) {
  char buffer[40];
  if (!d.has_date) std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", d.hour, d.minute, d.second);
  else if (!d.has_time) std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", d.year, d.month, d.day);
  else
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
  return buffer;
}

std::optional<JetDate> DateOfSerial(double serial) {
  if (!std::isfinite(serial) || serial < -657434 || serial > 2958465.99999) return std::nullopt;
  double whole = std::trunc(serial);
  long seconds = std::lround(std::fabs(serial - whole) * 86400);
  if (seconds >= 86400) {
    seconds -= 86400;
    whole += serial < 0 ? -1 : 1;
  }
  JetDate d = CivilFromDays(static_cast<long>(whole) + kSerialZero);
  d.hour = static_cast<int>(seconds / 3600);
  d.minute = static_cast<int>(seconds / 60 % 60);
  d.second = static_cast<int>(seconds % 60);
  d.has_time = seconds != 0;
  return d;
}

int Weekday(const JetDate& d) {
  long days = DaysFromCivil(d.year, d.month, d.day);  // 1970-01-01 was a Thursday
  return static_cast<int>(((days + 4) % 7 + 7) % 7) + 1;
}

JetDate LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  JetDate d;
  d.year = local.tm_year + 1900;
  d.month = local.tm_mon + 1;
  d.day = local.tm_mday;
  d.hour = local.tm_hour;
  d.minute = local.tm_min;
  d.second = local.tm_sec;
  d.has_time = true;
  return d;
}

}  // namespace vmu
