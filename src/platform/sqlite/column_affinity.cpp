#include "platform/sqlite/column_affinity.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <set>

#include "platform/ascii.h"

namespace vmu {

namespace {

bool Space(char c) { return IsAsciiSpace(c); }
bool Digit(char c) { return IsAsciiDigit(c); }

}  // namespace

Affinity AffinityOf(std::string_view declared_type) {
  std::string type = AsciiUpper(declared_type);
  if (type.find("INT") != std::string::npos) return Affinity::kInteger;
  if (type.find("CHAR") != std::string::npos || type.find("CLOB") != std::string::npos ||
      type.find("TEXT") != std::string::npos)
    return Affinity::kText;
  if (type.empty() || type.find("BLOB") != std::string::npos) return Affinity::kBlob;
  if (type.find("REAL") != std::string::npos || type.find("FLOA") != std::string::npos ||
      type.find("DOUB") != std::string::npos)
    return Affinity::kReal;
  return Affinity::kNumeric;
}

bool TextColumnWithNumberAffinity(std::string_view declared_type) {
  Affinity affinity = AffinityOf(declared_type);
  if (affinity == Affinity::kText || affinity == Affinity::kBlob) return false;
  // Jet's (and SQL's) names for numbers, dates and yes/no: numbers belong there.
  static const std::set<std::string> kNumberTypes = {
      "NUMERIC", "DECIMAL",   "DEC",           "NUMBER",  "CURRENCY", "MONEY",         "SMALLMONEY", "SINGLE",
      "DOUBLE",  "FLOAT",     "REAL",          "BYTE",    "COUNTER",  "AUTOINCREMENT", "AUTONUMBER", "IDENTITY",
      "BIT",     "BOOLEAN",   "BOOL",          "LOGICAL", "LOGICAL1", "YESNO",         "DATE",       "DATETIME",
      "TIME",    "TIMESTAMP", "SMALLDATETIME", "LONG",    "SHORT"};
  std::string type = AsciiUpper(declared_type);
  size_t end = 0;
  while (end < type.size() && (IsAsciiLetterOrDigit(type[end]) || type[end] == '_')) ++end;
  std::string first_word = type.substr(0, end);
  return affinity != Affinity::kInteger && !kNumberTypes.count(first_word);
}

std::optional<std::string> StoredNumberText(std::string_view text, Affinity affinity) {
  if (affinity == Affinity::kText || affinity == Affinity::kBlob) return std::nullopt;
  // A well-formed number, blanks around allowed: what SQLite converts.
  size_t begin = 0, end = text.size();
  while (begin < end && Space(text[begin])) ++begin;
  while (end > begin && Space(text[end - 1])) --end;
  std::string_view body = text.substr(begin, end - begin);
  size_t i = 0;
  if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
  size_t digits = 0;
  bool whole = true;
  while (i < body.size() && Digit(body[i])) ++i, ++digits;
  if (i < body.size() && body[i] == '.') {
    whole = false;
    for (++i; i < body.size() && Digit(body[i]); ++i) ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
    whole = false;
    ++i;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
    size_t exponent = 0;
    for (; i < body.size() && Digit(body[i]); ++i) ++exponent;
    if (exponent == 0) return std::nullopt;
  }
  if (i != body.size()) return std::nullopt;
  std::string_view number = body[0] == '+' ? body.substr(1) : body;
  if (whole && affinity != Affinity::kReal) {
    long long value = 0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc()) return std::to_string(value);
  }
  double value = 0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  if (affinity != Affinity::kReal && std::floor(value) == value && std::fabs(value) < 9.2e18)
    return std::to_string(static_cast<long long>(value));
  char buffer[64];
  sqlite3_snprintf(sizeof buffer, buffer, "%!.15g", value);
  return std::string(buffer);
}

}  // namespace vmu
