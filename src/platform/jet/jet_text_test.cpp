#include "platform/jet/jet_text.h"

#include <gtest/gtest.h>

#include <limits>

#include "platform/jet/jet_date.h"
#include "platform/jet/jet_like.h"

namespace vmu {
namespace {

// Numbers written as text must read back as the same number, whatever the
// size, because the conversion stores them in text columns.
TEST(JetText, NumberTextReadsBackAndUsesThePoint) {
  for (double d : {0.0, 5.2, -1.5, 1e-7, 123456789012345.0, 1e20, 0.1 + 0.2}) {
    std::string text = NumberText(d);
    EXPECT_EQ(text.find(','), std::string::npos) << text;
    auto back = ParseNumber(text);
    ASSERT_TRUE(back) << text;
    EXPECT_DOUBLE_EQ(*back, d) << text;
  }
  EXPECT_EQ(NumberText(5.2), "5.2");
  EXPECT_EQ(ParseNumber(" -1.5e3 "), -1500.0);
  EXPECT_FALSE(ParseNumber("12abc"));
  EXPECT_FALSE(ParseNumber(""));
}

// The extremes: the largest double's own text reads back as that double;
// beyond it is infinity (the callers' Overflow), below the smallest is 0.
TEST(JetText, NumbersAtTheEndsOfTheRange) {
  const double largest = std::numeric_limits<double>::max();
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(NumberText(largest), "1.79769313486232E+308");
  const std::pair<const char*, double> cases[] = {
      {"1.79769313486232E+308", largest},
      {"-1.79769313486232E+308", -largest},
      {"1.7976931348623158E+308", largest},
      {"1.79769313486233E+308", infinity},
      {"2.5E+308", infinity},
      {"-1e400", -infinity},
      {"1e99999", infinity},
      {"1e-400", 0.0},
      {"-1e-99999", -0.0},
      {"4.9e-324", 4.9e-324},
  };
  for (auto [text, expected] : cases) {
    const auto value = ParseNumber(text);
    ASSERT_TRUE(value) << text;
    EXPECT_EQ(*value, expected) << text;
  }
}

TEST(JetText, CaseAndOrderIgnoreLetterCaseButKeepAccentsAfterLetters) {
  EXPECT_EQ(UpperText("éclair ß"), "ÉCLAIR ß");
  EXPECT_EQ(CompareNoCase("Bakker", "bakker"), 0);
  EXPECT_LT(CompareNoCase("e", "é"), 0);
  EXPECT_LT(CompareNoCase("é", "f"), 0);
  // Bytes that are no UTF-8 pass through unchanged.
  EXPECT_EQ(LowerText("A\xff"), "a\xff");
  EXPECT_EQ(CharCount("aé"), 2u);
  EXPECT_EQ(ByteOffset("aéb", 2), 3u);
}

TEST(JetDate, SerialsAndLiteralsMeetInTheSameCalendar) {
  auto date = DateOfSerial(2.5);  // Jet's day 2 is 1900-01-01, at noon
  ASSERT_TRUE(date);
  EXPECT_EQ(IsoText(*date), "1900-01-01 12:00:00");
  EXPECT_FALSE(DateOfSerial(1e300));
  auto literal = ParseDate("03/01/2026", DateOrder::kMonthDayYear);
  ASSERT_TRUE(literal);
  EXPECT_EQ(IsoText(*literal), "2026-03-01");
  auto impossible_month = ParseDate("13/01/2026", DateOrder::kMonthDayYear);
  ASSERT_TRUE(impossible_month);
  EXPECT_EQ(IsoText(*impossible_month), "2026-01-13");
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
}

TEST(JetLike, WildcardsClassesAndEscape) {
  EXPECT_TRUE(JetLike("Bakker", "b*"));
  EXPECT_TRUE(JetLike("A1", "?#"));
  EXPECT_TRUE(JetLike("b", "[a-c]"));
  EXPECT_FALSE(JetLike("b", "[!a-c]"));
  EXPECT_TRUE(JetLike("50%", "50!%", U'!'));
  EXPECT_FALSE(JetLike("Bakker", "b"));
}

}  // namespace
}  // namespace vmu
