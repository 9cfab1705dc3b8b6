#include "package/whole_number.h"

#include <gtest/gtest.h>

#include <string>

namespace vmu::package {
namespace {

std::string Read(const char* text, NumberRange range) {
  const WholeNumber number = ReadWholeNumber(text, range);
  switch (number.problem) {
    case NumberProblem::kNotANumber: return "not a number";
    case NumberProblem::kOutOfRange: return "out of range";
    case NumberProblem::kNone: break;
  }
  return std::to_string(number.value);
}

TEST(WholeNumber, TakesWhatTheWizardConvertsAndTellsWhyNot) {
  struct Case {
    const char* text;
    const char* as_long;
    const char* as_byte;
  };
  const Case cases[] = {
      {"1", "1", "1"},
      {" +5 ", "5", "5"},
      {"\t7\t", "7", "7"},
      {"-0", "0", "0"},
      {" -12 ", "-12", "out of range"},
      {"255", "255", "255"},
      {"256", "256", "out of range"},
      {"2147483647", "2147483647", "out of range"},
      {"2147483648", "out of range", "out of range"},
      {"-2147483648", "-2147483648", "out of range"},
      {"-2147483649", "out of range", "out of range"},
      {"99999999999999999999999", "out of range", "out of range"},
      // A character that is no digit wins over any size.
      {"99999999999999999999x", "not a number", "not a number"},
      {"1.5", "not a number", "not a number"},
      {"1 2", "not a number", "not a number"},
      {"", "not a number", "not a number"},
      {" ", "not a number", "not a number"},
      {"-", "not a number", "not a number"},
      {"+-1", "not a number", "not a number"},
      {"abc", "not a number", "not a number"},
      {"1e3", "not a number", "not a number"},
      {"&H10", "not a number", "not a number"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Read(c.text, kLongRange), c.as_long) << '"' << c.text << '"';
    EXPECT_EQ(Read(c.text, kByteRange), c.as_byte) << '"' << c.text << '"';
  }
  EXPECT_EQ(Read("-32768", kIntegerRange), "-32768");
  EXPECT_EQ(Read("32768", kIntegerRange), "out of range");
}

}  // namespace
}  // namespace vmu::package
