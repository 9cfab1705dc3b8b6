#include "platform/ascii.h"

#include <gtest/gtest.h>

#include <clocale>

namespace vmu {
namespace {

TEST(Ascii, CaseAndTrimTouchOnlyAsciiWhateverTheLocale) {
  // Latin-1 and UTF-8 bytes above 0x7F stay as they are, even where the
  // C library would fold them.
  std::setlocale(LC_ALL, "");
  EXPECT_EQ(AsciiLower("SELECT \xc9\xe9 Data Source"), "select \xc9\xe9 data source");
  EXPECT_EQ(AsciiUpper("int\xe9"), "INT\xe9");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(TrimBlanks(" \t a b \t"), "a b");
  EXPECT_EQ(TrimBlanks(" \t "), "");
  EXPECT_EQ(TrimBlanks("\r\nx"), "\r\nx");  // line ends are no blanks
}

}  // namespace
}  // namespace vmu
