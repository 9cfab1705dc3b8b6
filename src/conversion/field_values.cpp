#include "conversion/field_values.h"

#include <cstdio>
#include <cstdlib>

#include "platform/error.h"

namespace vmu {

namespace {

// Fifteen significant digits, so that 0.1 + 0.2 shows as 0.3, with an
// upper-case exponent.
std::string RealText(double d) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.15G", d);
  return buffer;
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
    if (!t.empty()) {
      char* end = nullptr;
      double d = std::strtod(t.c_str(), &end);
      if (end == t.c_str() + t.size()) return d != 0;
    }
  }
  Raise(kTypeMismatch);
}

}  // namespace vmu
