#include "conversion/field_values.h"

#include <charconv>

#include "platform/error.h"

namespace vmu {

namespace {

// Fifteen significant digits, so that 0.1 + 0.2 shows as 0.3, with an
// upper-case exponent ("%.15G"). to_chars, unlike printf, always writes a
// decimal point: Qt adopts the desktop's locale, which may use a comma.
std::string RealText(double d) {
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// A decimal number as a whole text ("5", "-0.5", "1E3"), read the same way
// in every locale.
std::optional<double> DecimalNumber(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && *first == '-') return std::nullopt;
  }
  double d = 0;
  const auto result = std::from_chars(first, last, d, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != last) return std::nullopt;
  return d;
}

bool SameLetters(const std::string& text, const char* word) {
  std::size_t i = 0;
  for (; word[i] != '\0'; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return i == text.size();
}

std::string Trimmed(const std::string& text) {
  std::size_t b = text.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

}  // namespace

std::optional<std::string> FieldText(const FieldValue& value) {
  if (std::holds_alternative<Null>(value)) return std::nullopt;
  if (auto i = std::get_if<std::int64_t>(&value)) return std::to_string(*i);
  if (auto d = std::get_if<double>(&value)) return RealText(*d);
  if (auto s = std::get_if<std::string>(&value)) return *s;
  const Blob& b = std::get<Blob>(value);
  return std::string(b.begin(), b.end());
}

std::string JoinedText(const FieldValue& value) { return FieldText(value).value_or(""); }

bool FieldIsTrue(const FieldValue& value) {
  if (std::holds_alternative<Null>(value)) return false;
  if (auto i = std::get_if<std::int64_t>(&value)) return *i != 0;
  if (auto d = std::get_if<double>(&value)) return *d != 0;
  if (auto s = std::get_if<std::string>(&value)) {
    const std::string t = Trimmed(*s);
    if (SameLetters(t, "true")) return true;
    if (SameLetters(t, "false")) return false;
    if (const std::optional<double> d = DecimalNumber(t)) return *d != 0;
  }
  Raise(kTypeMismatch);
}

}  // namespace vmu
