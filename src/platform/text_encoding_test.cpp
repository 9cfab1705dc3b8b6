#include "platform/text_encoding.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(TextEncodingTest, EveryWindows1252ByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  // One character per byte: the UTF-8 form holds 256 code points.
  int characters = 0;
  for (char ch : utf8) characters += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
  EXPECT_EQ(characters, 256);
}

TEST(TextEncodingTest, MapsTheCharactersBothWays) {
  struct Case {
    std::string cp1252;
    std::string utf8;
  };
  const Case cases[] = {
      {"Kopi\xEBren", "Kopiëren"},
      {"\x80", "€"},
      {"\x9F", "Ÿ"},
      {"\x8A\x9A", "Šš"},
      {"\xA0\xFF", "\u00A0ÿ"},
      {"\x81\x8D\x8F\x90\x9D", "\u0081\u008D\u008F\u0090\u009D"},  // the undefined bytes
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1252ToUtf8(c.cp1252), c.utf8);
    EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252);
  }
}

TEST(TextEncodingTest, CharactersWithoutAByteBecomeAQuestionMarkAndInvalidUtf8BytesAreTakenAsWindows1252) {
  EXPECT_EQ(Utf8ToCp1252("Ω"), "?");
  EXPECT_EQ(Utf8ToCp1252("a😀b"), "a?b");   // one mark per character, not per byte
  EXPECT_EQ(Utf8ToCp1252("\u0080"), "?");  // 0x80 is the euro sign
  EXPECT_EQ(Utf8ToCp1252("Kopi\xEBren"), "Kopi\xEBren");
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "\xC3");                  // cut off
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");          // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "\xED\xA0\x80");  // surrogate
}

}  // namespace
}  // namespace vmu
