#include "platform/sqlite/column_affinity.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(ColumnAffinity, JetTypeNamesAndWhatSqliteStoresForThem) {
  struct Case {
    const char* type;
    Affinity affinity;
    bool text_at_risk;
  };
  const Case cases[] = {
      {"TEXT", Affinity::kText, false},
      {"Text(50)", Affinity::kText, false},
      {"VARCHAR(10)", Affinity::kText, false},
      {"LongText", Affinity::kText, false},
      {"Memo", Affinity::kNumeric, true},
      {"Hyperlink", Affinity::kNumeric, true},
      {"String", Affinity::kNumeric, true},
      {"Currency", Affinity::kNumeric, false},
      {"YesNo", Affinity::kNumeric, false},
      {"DateTime", Affinity::kNumeric, false},
      {"NUMERIC", Affinity::kNumeric, false},
      {"Long", Affinity::kNumeric, false},
      {"INTEGER", Affinity::kInteger, false},
      {"Double", Affinity::kReal, false},
      {"", Affinity::kBlob, false},
      {"BLOB", Affinity::kBlob, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AffinityOf(c.type), c.affinity) << c.type;
    EXPECT_EQ(TextColumnWithNumberAffinity(c.type), c.text_at_risk) << c.type;
  }

  const std::pair<const char*, const char*> stored[] = {
      {"007", "7"},    {"7", "7"},   {" 7 ", "7"},    {"+7", "7"},    {"-3", "-3"},
      {"1.50", "1.5"}, {"7.0", "7"}, {"1e3", "1000"}, {"0.1", "0.1"}, {"99999999999999999999", "1.0e+20"}};
  for (auto [text, number] : stored) EXPECT_EQ(StoredNumberText(text, Affinity::kNumeric), number) << text;
  for (const char* kept : {"abc", "", "12-03", "0x10", "1e", ".", "7 7"})
    EXPECT_EQ(StoredNumberText(kept, Affinity::kNumeric), std::nullopt) << kept;
  EXPECT_EQ(StoredNumberText("007", Affinity::kText), std::nullopt);
  EXPECT_EQ(StoredNumberText("7", Affinity::kReal), "7.0");
}

}  // namespace
}  // namespace vmu
