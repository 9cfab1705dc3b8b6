#include "conversion/field_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "conversion/database_names.h"
#include "testing/dutch_locale.h"
#include "testing/error_of.h"

namespace vmu {
namespace {

// The text of a real is printf's (the test after the next).
TEST(FieldValues, NumbersReadAsTheirUsualTextAndNullHasNone) {
  EXPECT_EQ(FieldText(FieldValue{std::int64_t{5}}), "5");
  EXPECT_EQ(FieldText(FieldValue{std::string("5.10")}), "5.10");
  EXPECT_EQ(FieldText(FieldValue{Null{}}), std::nullopt);
  EXPECT_EQ(JoinedText(FieldValue{Null{}}), "");
}

TEST(FieldValues, YesNoValues) {
  EXPECT_TRUE(FieldIsTrue(FieldValue{std::int64_t{-1}}));
  EXPECT_TRUE(FieldIsTrue(FieldValue{std::int64_t{1}}));
  EXPECT_FALSE(FieldIsTrue(FieldValue{std::int64_t{0}}));
  EXPECT_FALSE(FieldIsTrue(FieldValue{Null{}}));
  EXPECT_TRUE(FieldIsTrue(FieldValue{std::string("True")}));
  EXPECT_FALSE(FieldIsTrue(FieldValue{std::string(" false ")}));
  EXPECT_TRUE(FieldIsTrue(FieldValue{std::string("-1")}));
  EXPECT_EQ(testing::ErrorOf([] { FieldIsTrue(FieldValue{std::string("ja")}); }), kTypeMismatch);
  EXPECT_EQ(testing::ErrorOf([] { FieldIsTrue(FieldValue{Blob{1}}); }), kTypeMismatch);
}

TEST(FieldValues, NumberTextIsPrintfsInTheCLocale) {
  const double values[] = {0.0,
                           -0.0,
                           5.2,
                           0.1 + 0.2,
                           1e20,
                           1.0 / 3,
                           123456789012345.0,
                           1234567890123456.0,
                           1e15,
                           1e16,
                           1e-4,
                           1e-5,
                           -2.5e-7,
                           1e100,
                           1.7976931348623157e308,
                           4.9e-324,
                           0.5,
                           100.0,
                           -1.0,
                           99.995,
                           2.0 / 3,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::nan("")};
  for (double d : values) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.15G", d);
    EXPECT_EQ(FieldText(FieldValue{d}), expected) << expected;
  }
}

TEST(FieldValues, ADutchLocaleChangesNoNumberText) {
  testing::DutchLocale dutch;
  if (!dutch.active()) GTEST_SKIP() << "locale nl_NL.UTF-8 not installed (scripts/install-deps)";
  EXPECT_EQ(FieldText(FieldValue{5.2}), "5.2");
  EXPECT_EQ(FieldText(FieldValue{-2.5e-7}), "-2.5E-07");
  EXPECT_TRUE(FieldIsTrue(FieldValue{std::string("0.5")}));
  EXPECT_FALSE(FieldIsTrue(FieldValue{std::string(" 0.0 ")}));
  EXPECT_TRUE(FieldIsTrue(FieldValue{std::string("+1E3")}));
  for (const char* not_a_number : {"0,5", "1.000,5", "0x10", "+-1", "5 5", ""})
    EXPECT_EQ(testing::ErrorOf([&] { FieldIsTrue(FieldValue{std::string(not_a_number)}); }), kTypeMismatch)
        << not_a_number;
}

TEST(DatabaseNames, EmptyOrBareFileNamesPass) {
  // Which names are bare is package/bare_name's rule; here only that it is the one applied.
  for (const char* bare : {"VM_DBv01.mdb", ""}) EXPECT_TRUE(IsEmptyOrBareFileName(bare)) << bare;
  for (const char* not_bare : {"..\\x.mdb", "C:x.mdb"}) EXPECT_FALSE(IsEmptyOrBareFileName(not_bare)) << not_bare;
}

}  // namespace
}  // namespace vmu
