#include "platform/mdb/jet_values.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

using namespace std::string_literals;

TEST(JetValues, TextOfEachFormatKeepsAccentsAndTheEuro) {
  // Jet 4 compressed: one-byte runs, a zero byte switching to UTF-16 and back.
  EXPECT_EQ(Jet4TextToUtf8("\xFF\xFE"
                           "Caf\xE9 \0\xAC\x20\0 5"s),
            "Café € 5");
  EXPECT_EQ(Jet4TextToUtf8("\xE9\0\xAC\x20\x3D\xD8\x00\xDE"s), "é€😀");  // plain UTF-16LE with a surrogate pair
  EXPECT_EQ(Jet4TextToUtf8(""), "");
  EXPECT_EQ(Jet3TextToUtf8("caf\xE9 \x80", 0), "café €");
  EXPECT_EQ(Jet3TextToUtf8("\x9A\xE8", 1250), "šč");
}

TEST(JetValues, NumbersKeepEveryDigit) {
  auto money = [](std::int64_t units) {
    unsigned char b[8];
    for (int i = 0; i < 8; ++i) b[i] = static_cast<unsigned char>(static_cast<std::uint64_t>(units) >> (8 * i));
    return CurrencyValue(b);
  };
  EXPECT_EQ(money(420000), FieldValue(std::int64_t{42}));
  EXPECT_EQ(money(35000), FieldValue(3.5));
  EXPECT_EQ(money(-1), FieldValue(-0.0001));
  EXPECT_EQ(money(123456789012345), FieldValue(12345678901.2345));
  EXPECT_EQ(money(INT64_MAX), FieldValue("922337203685477.5807"s));  // more digits than a real holds

  unsigned char dec[17] = {0x80};  // negative, 12345 in the last word, two decimals
  dec[13] = 0x39;
  dec[14] = 0x30;
  EXPECT_EQ(DecimalValue(dec, 2), FieldValue(-123.45));
  dec[0] = 0;
  dec[5] = 1;  // 2^64 + 12345: whole, but wider than an integer
  EXPECT_EQ(DecimalValue(dec, 0), FieldValue("18446744073709563961"s));
  EXPECT_EQ(SingleValue(444.555f), 444.555);
}

TEST(JetValues, DatesBefore1900AndTimesOfDay) {
  const struct {
    double serial;
    const char* text;
  } cases[] = {{27293, "1974-09-21"},
               {46083.604166666664, "2026-03-02 14:30:00"},
               {-18095.75, "1850-06-15 18:00:00"},
               {0.5, "12:00:00"},
               {1, "1899-12-31"}};
  for (const auto& c : cases) EXPECT_EQ(DateValue(c.serial), FieldValue(std::string(c.text))) << c.serial;
  EXPECT_EQ(DateValue(1e12), FieldValue(Null{}));
  const unsigned char guid[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
  EXPECT_EQ(GuidText(guid), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
}

}  // namespace
}  // namespace vmu
