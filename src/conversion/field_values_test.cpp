#include "conversion/field_values.h"

#include <gtest/gtest.h>

#include "conversion/database_names.h"
#include "testing/error_of.h"

namespace vmu {
namespace {

TEST(FieldValues, NumbersReadAsTheirUsualTextAndNullHasNone) {
  EXPECT_EQ(FieldText(FieldValue{5.2}), "5.2");
  EXPECT_EQ(FieldText(FieldValue{5.0}), "5");
  EXPECT_EQ(FieldText(FieldValue{std::int64_t{5}}), "5");
  EXPECT_EQ(FieldText(FieldValue{0.1 + 0.2}), "0.3");
  EXPECT_EQ(FieldText(FieldValue{-2.5}), "-2.5");
  EXPECT_EQ(FieldText(FieldValue{1e20}), "1E+20");
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

TEST(DatabaseNames, OnlyBareFileNamesPass) {
  for (const char* bare : {"VM_DBv01.mdb", "Conversie", ""}) EXPECT_TRUE(IsBareFileName(bare)) << bare;
  // The same rule as for the package's files: any "..", or only dots and blanks, is refused.
  for (const char* not_bare : {"a..b.mdb", ". .", "sub\\x.mdb", "..", ".", "..\\x.mdb", "C:x.mdb", "C:\\x.mdb",
                               "\\x.mdb", "x/y.mdb", "\\\\server\\share\\x.mdb"})
    EXPECT_FALSE(IsBareFileName(not_bare)) << not_bare;
}

}  // namespace
}  // namespace vmu
