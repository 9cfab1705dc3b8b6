#include "platform/sqlite/jet_functions.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "platform/ascii.h"
#include "platform/error.h"
#include "platform/jet/jet_date.h"
#include "platform/jet/jet_format.h"
#include "platform/jet/jet_like.h"
#include "platform/jet/jet_text.h"

namespace vmu {

namespace {

using Args = sqlite3_value**;

constexpr const char* kInvalidUseOfNull = "Invalid use of Null";
constexpr const char* kTypeMismatch = "Type mismatch";
constexpr const char* kInvalidArgument = "Invalid procedure call or argument";
constexpr const char* kOverflow = "Overflow";

bool IsNull(sqlite3_value* v) { return sqlite3_value_type(v) == SQLITE_NULL; }

std::string TextOf(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return std::to_string(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return NumberText(sqlite3_value_double(v));
    case SQLITE_NULL: return {};
    case SQLITE_BLOB: {
      const char* data = static_cast<const char*>(sqlite3_value_blob(v));
      return data ? std::string(data, sqlite3_value_bytes(v)) : std::string();
    }
    default: {
      const char* data = reinterpret_cast<const char*>(sqlite3_value_text(v));
      return data ? std::string(data, sqlite3_value_bytes(v)) : std::string();
    }
  }
}

std::optional<double> NumberOf(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return static_cast<double>(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return sqlite3_value_double(v);
    case SQLITE_TEXT: return ParseNumber(TextOf(v));
    default: return std::nullopt;
  }
}

void Fail(sqlite3_context* ctx, const char* message) { sqlite3_result_error(ctx, message, -1); }

void ResultText(sqlite3_context* ctx, const std::string& text) {
  sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// A number argument made whole as CLng does (half to even), within limits.
bool WholeArg(sqlite3_context* ctx, sqlite3_value* v, long long low, long long high, long long& out) {
  if (IsNull(v)) {
    Fail(ctx, kInvalidUseOfNull);
    return false;
  }
  auto number = NumberOf(v);
  if (!number) {
    Fail(ctx, kTypeMismatch);
    return false;
  }
  double whole = std::nearbyint(*number);  // the default rounding mode: half to even
  if (!(whole >= static_cast<double>(low) && whole <= static_cast<double>(high))) {
    Fail(ctx, kOverflow);
    return false;
  }
  out = static_cast<long long>(whole);
  return true;
}

bool CountArg(sqlite3_context* ctx, sqlite3_value* v, long long& out) {
  if (!WholeArg(ctx, v, -2147483648LL, 2147483647LL, out)) return false;
  if (out < 0) {
    Fail(ctx, kInvalidArgument);
    return false;
  }
  return true;
}

std::optional<JetDate> DateArg(sqlite3_value* v) {
  if (sqlite3_value_type(v) == SQLITE_INTEGER || sqlite3_value_type(v) == SQLITE_FLOAT)
    return DateOfSerial(sqlite3_value_double(v));
  std::string text = TextOf(v);
  if (auto date = ParseDate(text, DateOrder::kDayMonthYear)) return date;
  if (auto number = ParseNumber(text)) return DateOfSerial(*number);
  return std::nullopt;
}

// ---- the functions ----

void Concat(sqlite3_context* ctx, int argc, Args argv) {
  std::string out;
  bool any = false;
  for (int i = 0; i < argc; ++i) {
    if (IsNull(argv[i])) continue;
    any = true;
    out += TextOf(argv[i]);
  }
  if (any) ResultText(ctx, out);
  else sqlite3_result_null(ctx);
}

void Nz(sqlite3_context* ctx, int argc, Args argv) {
  if (!IsNull(argv[0])) sqlite3_result_value(ctx, argv[0]);
  else if (argc > 1) sqlite3_result_value(ctx, argv[1]);
  else sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);  // Nz without default gives "" in a query
}

void Left(sqlite3_context* ctx, int, Args argv) {
  long long count;
  if (!CountArg(ctx, argv[1], count)) return;
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  std::string text = TextOf(argv[0]);
  ResultText(ctx, text.substr(0, ByteOffset(text, count)));
}

void Right(sqlite3_context* ctx, int, Args argv) {
  long long count;
  if (!CountArg(ctx, argv[1], count)) return;
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  std::string text = TextOf(argv[0]);
  size_t length = CharCount(text);
  size_t skip = static_cast<size_t>(count) >= length ? 0 : length - count;
  ResultText(ctx, text.substr(ByteOffset(text, skip)));
}

void Mid(sqlite3_context* ctx, int argc, Args argv) {
  long long start, count = -1;
  if (!WholeArg(ctx, argv[1], -2147483648LL, 2147483647LL, start)) return;
  if (start < 1) return Fail(ctx, kInvalidArgument);
  if (argc > 2 && !CountArg(ctx, argv[2], count)) return;
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  std::string text = TextOf(argv[0]);
  size_t from = ByteOffset(text, start - 1);
  size_t to = count < 0 ? text.size() : from + ByteOffset(std::string_view(text).substr(from), count);
  ResultText(ctx, text.substr(from, to - from));
}

void Len(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(CharCount(TextOf(argv[0]))));
}

void UCase(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  ResultText(ctx, UpperText(TextOf(argv[0])));
}

void LCase(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  ResultText(ctx, LowerText(TextOf(argv[0])));
}

std::vector<char32_t> CharsOf(const std::string& text, bool fold) {
  std::vector<char32_t> chars;
  for (size_t pos = 0; pos < text.size();) {
    char32_t c = NextChar(text, pos);
    chars.push_back(fold ? LowerChar(c) : c);
  }
  return chars;
}

// InStr([start,] text, sought [, compare]): 1-based position, 0 when absent.
// Compare 0 is exact; 1, and the default in a query, ignores case.
void InStr(sqlite3_context* ctx, int argc, Args argv) {
  long long start = 1, compare = 1;
  int first = 0;
  if (argc >= 3) {
    if (!WholeArg(ctx, argv[0], -2147483648LL, 2147483647LL, start)) return;
    if (start < 1) return Fail(ctx, kInvalidArgument);
    first = 1;
  }
  if (argc == 4 && !IsNull(argv[3]) && !WholeArg(ctx, argv[3], 0, 2, compare)) return;
  if (IsNull(argv[first]) || IsNull(argv[first + 1])) return sqlite3_result_null(ctx);
  std::vector<char32_t> text = CharsOf(TextOf(argv[first]), compare != 0);
  std::vector<char32_t> sought = CharsOf(TextOf(argv[first + 1]), compare != 0);
  long long found = 0;
  if (!text.empty() && start <= static_cast<long long>(text.size())) {
    if (sought.empty()) {
      found = start;
    } else {
      for (size_t i = start - 1; i + sought.size() <= text.size() && !found; ++i)
        if (std::equal(sought.begin(), sought.end(), text.begin() + i)) found = static_cast<long long>(i) + 1;
    }
  }
  sqlite3_result_int64(ctx, found);
}

// A double holds no infinity in Jet: a number beyond the range overflows.
void ResultNumber(sqlite3_context* ctx, double value) {
  if (!std::isfinite(value)) return Fail(ctx, kOverflow);
  sqlite3_result_double(ctx, value);
}

void CStr(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return Fail(ctx, kInvalidUseOfNull);
  if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT && !std::isfinite(sqlite3_value_double(argv[0])))
    return Fail(ctx, kOverflow);
  ResultText(ctx, TextOf(argv[0]));
}

void CLng(sqlite3_context* ctx, int, Args argv) {
  long long value;
  if (WholeArg(ctx, argv[0], -2147483648LL, 2147483647LL, value)) sqlite3_result_int64(ctx, value);
}

void CInt(sqlite3_context* ctx, int, Args argv) {
  long long value;
  if (WholeArg(ctx, argv[0], -32768, 32767, value)) sqlite3_result_int64(ctx, value);
}

void CDbl(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return Fail(ctx, kInvalidUseOfNull);
  auto number = NumberOf(argv[0]);
  if (!number) return Fail(ctx, kTypeMismatch);
  ResultNumber(ctx, *number);
}

void CDate(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return Fail(ctx, kInvalidUseOfNull);
  auto date = DateArg(argv[0]);
  if (!date) return Fail(ctx, kTypeMismatch);
  ResultText(ctx, IsoText(*date));
}

void Now(sqlite3_context* ctx, int, Args) { ResultText(ctx, IsoText(LocalNow())); }

void Today(sqlite3_context* ctx, int, Args) {
  JetDate now = LocalNow();
  now.has_time = false;
  ResultText(ctx, IsoText(now));
}

void TimeNow(sqlite3_context* ctx, int, Args) {
  JetDate now = LocalNow();
  now.has_date = false;
  ResultText(ctx, IsoText(now));
}

template <int JetDate::*Part>
void DatePart(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  auto date = DateArg(argv[0]);
  if (!date) return Fail(ctx, kTypeMismatch);
  sqlite3_result_int64(ctx, (*date).*Part);
}

void WeekdayOf(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  auto date = DateArg(argv[0]);
  if (!date) return Fail(ctx, kTypeMismatch);
  sqlite3_result_int64(ctx, Weekday(*date));
}

void DateSerial(sqlite3_context* ctx, int, Args argv) {
  long long year, month, day;
  if (!WholeArg(ctx, argv[0], -32768, 32767, year) || !WholeArg(ctx, argv[1], -32768, 32767, month) ||
      !WholeArg(ctx, argv[2], -32768, 32767, day))
    return;
  if (year >= 0 && year < 100) year += year < 30 ? 2000 : 1900;
  JetDate date =
      CivilFromDays(DaysFromCivil(static_cast<long>(year), static_cast<long>(month), static_cast<long>(day)));
  if (date.year < 100 || date.year > 9999) return Fail(ctx, kInvalidArgument);
  ResultText(ctx, IsoText(date));
}

void Format(sqlite3_context* ctx, int argc, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  std::string format = argc > 1 ? TextOf(argv[1]) : std::string();
  int type = sqlite3_value_type(argv[0]);
  FormatArgument value = type == SQLITE_INTEGER || type == SQLITE_FLOAT ? FormatArgument(sqlite3_value_double(argv[0]))
                                                                        : FormatArgument(TextOf(argv[0]));
  if (type == SQLITE_INTEGER && format.empty()) return ResultText(ctx, TextOf(argv[0]));
  try {
    ResultText(ctx, JetFormat(value, format));
  } catch (const VbError& error) {
    Fail(ctx, error.description().c_str());
  }
}

// Round(number [, places]): half to even, as Jet.
void Round(sqlite3_context* ctx, int argc, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  auto number = NumberOf(argv[0]);
  if (!number) return Fail(ctx, kTypeMismatch);
  long long places = 0;
  if (argc > 1 && !WholeArg(ctx, argv[1], 0, 15, places)) return;
  double scale = std::pow(10.0, static_cast<double>(places));
  if (!std::isfinite(*number)) return Fail(ctx, kOverflow);
  const double scaled = *number * scale;
  // Scaling a huge number overflows; a number that large has no places to round.
  ResultNumber(ctx, std::isfinite(scaled) ? std::nearbyint(scaled) / scale : *number);
}

template <double (*Op)(double)>
void Whole(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return sqlite3_result_null(ctx);
  if (sqlite3_value_type(argv[0]) == SQLITE_INTEGER) return sqlite3_result_value(ctx, argv[0]);
  auto number = NumberOf(argv[0]);
  if (!number) return Fail(ctx, kTypeMismatch);
  ResultNumber(ctx, Op(*number));
}

double Floor(double x) { return std::floor(x); }
double Trunc(double x) { return std::trunc(x); }

// Val(text): the number at the start of the text, blanks ignored; 0 when none.
void Val(sqlite3_context* ctx, int, Args argv) {
  if (IsNull(argv[0])) return Fail(ctx, kInvalidUseOfNull);
  std::string text;
  for (char c : TextOf(argv[0]))
    if (c != ' ' && c != '\t') text += c;
  size_t end = 0;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  while (end < text.size() && IsAsciiDigit(text[end])) ++end;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && IsAsciiDigit(text[end])) ++end;
  }
  size_t mantissa = end;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    size_t e = end + 1;
    if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
    if (e < text.size() && IsAsciiDigit(text[e])) {
      while (e < text.size() && IsAsciiDigit(text[e])) ++e;
      end = e;
    }
  }
  auto number = ParseNumber(text.substr(0, end));
  if (!number) number = ParseNumber(text.substr(0, mantissa));
  ResultNumber(ctx, number.value_or(0));
}

void IsNullFunction(sqlite3_context* ctx, int, Args argv) { sqlite3_result_int(ctx, IsNull(argv[0]) ? 1 : 0); }

// X Like Y reaches SQLite as like(Y, X [, escape]).
void Like(sqlite3_context* ctx, int argc, Args argv) {
  if (IsNull(argv[0]) || IsNull(argv[1]) || (argc > 2 && IsNull(argv[2]))) return sqlite3_result_null(ctx);
  char32_t escape = 0;
  if (argc > 2) {
    std::string text = TextOf(argv[2]);
    size_t pos = 0;
    if (!text.empty()) escape = NextChar(text, pos);
    if (text.empty() || pos != text.size()) return Fail(ctx, "ESCAPE expression must be a single character");
  }
  sqlite3_result_int(ctx, JetLike(TextOf(argv[1]), TextOf(argv[0]), escape) ? 1 : 0);
}

int Collate(void*, int length_a, const void* a, int length_b, const void* b) {
  return CompareNoCase(std::string_view(static_cast<const char*>(a), length_a),
                       std::string_view(static_cast<const char*>(b), length_b));
}

struct Function {
  const char* name;
  int args;
  void (*call)(sqlite3_context*, int, Args);
  bool deterministic = true;
};

const Function kFunctions[] = {
    {kJetConcat, -1, Concat},
    {"nz", 1, Nz},
    {"nz", 2, Nz},
    {kJetLeft, 2, Left},
    {kJetRight, 2, Right},
    {"mid", 2, Mid},
    {"mid", 3, Mid},
    {"len", 1, Len},
    {"ucase", 1, UCase},
    {"lcase", 1, LCase},
    {"instr", 2, InStr},
    {"instr", 3, InStr},
    {"instr", 4, InStr},
    {"cstr", 1, CStr},
    {"clng", 1, CLng},
    {"cint", 1, CInt},
    {"cdbl", 1, CDbl},
    {"cdate", 1, CDate},
    {"cvdate", 1, CDate},
    {"now", 0, Now, false},
    {"date", 0, Today, false},
    {"time", 0, TimeNow, false},
    {"year", 1, DatePart<&JetDate::year>},
    {"month", 1, DatePart<&JetDate::month>},
    {"day", 1, DatePart<&JetDate::day>},
    {"hour", 1, DatePart<&JetDate::hour>},
    {"minute", 1, DatePart<&JetDate::minute>},
    {"second", 1, DatePart<&JetDate::second>},
    {"weekday", 1, WeekdayOf},
    {"dateserial", 3, DateSerial},
    {"format", 1, Format},
    {"format", 2, Format},
    {"round", 1, Round},
    {"round", 2, Round},
    {"int", 1, Whole<Floor>},
    {"fix", 1, Whole<Trunc>},
    {"val", 1, Val},
    {kJetIsNull, 1, IsNullFunction},
    {"like", 2, Like},
    {"like", 3, Like},
};

}  // namespace

int RegisterJetFunctions(sqlite3* db) {
  for (const Function& f : kFunctions) {
    int flags = SQLITE_UTF8 | (f.deterministic ? SQLITE_DETERMINISTIC : 0);
    int rc = sqlite3_create_function_v2(db, f.name, f.args, flags, nullptr, f.call, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
  }
  return sqlite3_create_collation_v2(db, kJetCollation, SQLITE_UTF8, nullptr, Collate, nullptr);
}

}  // namespace vmu
