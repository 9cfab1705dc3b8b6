#include "platform/sqlite/jet_functions.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "platform/jet/jet_sql.h"
#include "platform/sqlite/jet_test_database.h"

namespace vmu {
namespace {

// The value of one Jet expression, evaluated by SQLite after translation.
std::string Eval(const std::string& expression) {
  return testing::JetDatabase().Rows(TranslateJetSql("SELECT " + expression));
}

void RunCases(const std::vector<testing::JetCase>& cases) { testing::RunCases(cases, "SELECT "); }

TEST(JetFunctions, NullsConditionsAndTextPieces) {
  RunCases({
      {"Nz(Null)", "''"},
      {"Nz(Null, 5)", "5"},
      {"Nz('a', 5)", "'a'"},
      {"IIf(1 = 1, 'a', 'b')", "'a'"},
      {"IIf(Null, 'a', 'b')", "'b'"},
      {"IIf(-1, 'a', 'b')", "'a'"},
      {"Left('abcdef', 3)", "'abc'"},
      {"Left('ab', 5)", "'ab'"},
      {"Left(Null, 2)", "NULL"},
      {"Left('éèê', 2)", "'éè'"},
      {"Left(12345, 2)", "'12'"},
      {"Right('abcdef', 2)", "'ef'"},
      {"Right('éèê', 1)", "'ê'"},
      {"Right('ab', 0)", "''"},
      {"Mid('abcdef', 2, 3)", "'bcd'"},
      {"Mid('abcdef', 4)", "'def'"},
      {"Mid('abc', 5)", "''"},
      {"Mid('€uro', 1, 1)", "'€'"},
      {"Len('abc')", "3"},
      {"Len('€uro')", "4"},
      {"Len(Null)", "NULL"},
      {"Len(12.5)", "4"},
      {"UCase('éclair ĳs')", "'ÉCLAIR ĲS'"},
      {"LCase('ÀB')", "'àb'"},
      {"Trim('  a  ')", "'a'"},
      {"LTrim('  a ')", "'a '"},
      {"RTrim(' a  ')", "' a'"},
      {"InStr('abcabc', 'c')", "3"},
      {"InStr(4, 'abcabc', 'c')", "6"},
      {"InStr('abc', 'B')", "2"},
      {"InStr(1, 'abc', 'B', 0)", "0"},
      {"InStr('abc', 'x')", "0"},
      {"InStr('abc', '')", "1"},
      {"InStr(Null, 'a')", "NULL"},
      {"InStr('é€x', 'X')", "3"},
      {"IsNull(Null) & IsNull(3)", "'10'"},
  });
}

TEST(JetFunctions, ConversionsRoundHalfToEven) {
  RunCases({
      {"CStr(12.5)", "'12.5'"},
      {"CStr(3)", "'3'"},
      {"CStr(1e20)", "'1E+20'"},
      {"CStr(0.1 + 0.2)", "'0.3'"},
      {"CLng(2.5)", "2"},
      {"CLng(3.5)", "4"},
      {"CLng(-2.5)", "-2"},
      {"CLng(' 12 ')", "12"},
      {"CInt(32767.4)", "32767"},
      {"CDbl('1.25')", "1.25"},
      {"CDate('2026-03-02')", "'2026-03-02'"},
      {"CDate('1-3-2026 14:30')", "'2026-03-01 14:30:00'"},
      {"CDate(46083)", "'2026-03-02'"},
      {"CDate(46083.75)", "'2026-03-02 18:00:00'"},
      {"Year('2026-03-02')", "2026"},
      {"Month('2026-03-02 10:00:00')", "3"},
      {"Day(#3/2/2026#)", "2"},
      {"Hour('2026-03-02 10:20:30') & Minute('10:20:30') & Second('10:20:30')", "'102030'"},
      {"Weekday('2026-03-02')", "2"},
      {"DateSerial(2026, 14, 0)", "'2027-01-31'"},
      {"Year(Null)", "NULL"},
      {"Round(2.5) & ' ' & Round(3.5) & ' ' & Round(-2.5)", "'2 4 -2'"},
      {"Round(1.2345, 2)", "1.23"},
      {"Int(-2.5) & ' ' & Fix(-2.5) & ' ' & Int(7)", "'-3 -2 7'"},
      {"Val('12abc') & ' ' & Val(' 1 2 ') & ' ' & Val('x')", "'12 12 0'"},
      {"CLng(Null)", "error: Invalid use of Null"},
      {"CStr(Null)", "error: Invalid use of Null"},
      {"CLng('abc')", "error: Type mismatch"},
      {"CInt(40000)", "error: Overflow"},
      {"CLng(3000000000)", "error: Overflow"},
      {"Mid('abc', 0)", "error: Invalid procedure call or argument"},
      {"Left('abc', -1)", "error: Invalid procedure call or argument"},
      {"CDate('geen datum')", "error: Type mismatch"},
  });
  EXPECT_TRUE(std::regex_match(Eval("Now()"), std::regex("'\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d'")));
  EXPECT_TRUE(std::regex_match(Eval("Date()"), std::regex("'\\d{4}-\\d\\d-\\d\\d'")));
  EXPECT_EQ(Eval("date('2026-03-02', '+1 day')"), "'2026-03-03'");  // SQLite's own date() stays
}

// Jet has no infinity: what goes beyond the doubles overflows, and the text
// CStr makes of the largest double reads back.
TEST(JetFunctions, NumbersBeyondTheRangeOverflow) {
  RunCases({
      {"CStr(CDbl(CStr(1.7976931348623157e308)))", "'1.79769313486232E+308'"},
      {"CDbl('-1.79769313486232E+308') = -1.7976931348623157e308", "1"},
      {"Val('1.79769313486232E+308') = 1.7976931348623157e308", "1"},
      {"Val('1e400')", "error: Overflow"},
      {"CDbl('1e400')", "error: Overflow"},
      {"CLng('1e400')", "error: Overflow"},
      {"CStr(1e999)", "error: Overflow"},
      {"Int(1e999)", "error: Overflow"},
      {"Round(1e308, 2) = 1e308", "1"},
      {"Format(1e308, '0.00E+00%')", "error: Overflow"},
      {"Format('1e400', '0.00')", "error: Overflow"},
      {"Format(1e999)", "error: Overflow"},
      {"Format(1e306, '0.00E+00%')", "'1.00E+308%'"},
  });
}

TEST(JetFunctions, FormatDatesAndNumbers) {
  RunCases({
      {"Format('2026-03-02', 'dd-mm-yyyy')", "'02-03-2026'"},
      {"Format('2026-03-02', 'yyyy')", "'2026'"},
      {"Format(#3/2/2026#, 'mm/dd/yyyy')", "'03/02/2026'"},
      {"Format('2026-03-02', 'd-m-yy')", "'2-3-26'"},
      {"Format('2026-03-02 14:05:09', 'hh:nn:ss')", "'14:05:09'"},
      {"Format('2026-03-02 14:05:09', 'hh:mm')", "'14:05'"},
      {"Format('2026-03-02 14:05:09', 'h:mm AM/PM')", "'2:05 PM'"},
      {"Format('2026-03-02', 'd mmmm yyyy')", "'2 maart 2026'"},
      {"Format('2026-03-02', 'dddd d mmm')", "'maandag 2 mrt'"},
      {"Format('2026-03-02', 'Short Date')", "'2-3-2026'"},
      {"Format('2026-03-02', 'Long Date')", "'maandag 2 maart 2026'"},
      {"Format(46083, 'yyyy-mm-dd')", "'2026-03-02'"},
      {"Format('2026-03-02', '\"week \"q')", "'week 1'"},
      {"Format(1234.5, '0.00')", "'1234.50'"},
      {"Format(1234.5, '#,##0.00')", "'1,234.50'"},
      {"Format(1234567, '#,##0')", "'1,234,567'"},
      {"Format(0.125, 'Percent')", "'12.50%'"},
      {"Format(0.125, '0.00')", "'0.13'"},
      {"Format(2.5, '0')", "'3'"},
      {"Format(-3, '0.00')", "'-3.00'"},
      {"Format(0.5, '#.00')", "'.50'"},
      {"Format(5, '#.##')", "'5.'"},
      {"Format(-5, '0;(0)')", "'(5)'"},
      {"Format(0, '0.0;-0.0;\"nul\"')", "'nul'"},
      {"Format(12345.678, 'Standard')", "'12,345.68'"},
      {"Format(12345.678, 'Fixed')", "'12345.68'"},
      {"Format(1234.5, 'Scientific')", "'1.23E+03'"},
      {"Format(9.999, '0.00E+00')", "'1.00E+01'"},
      {"Format(1, 'Yes/No') & Format(0, 'Yes/No')", "'JaNee'"},
      {"Format(7.5, '€ 0.00')", "'€ 7.50'"},
      {"Format('12.5', '0.00')", "'12.50'"},
      {"Format('abc', '0.00')", "'abc'"},
      {"Format('abc', '>')", "'ABC'"},
      {"Format(5)", "'5'"},
      {"Format(2.5)", "'2.5'"},
      {"Format(Null, '0')", "NULL"},
  });
}

}  // namespace
}  // namespace vmu
