#include "platform/shell_folders.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(SpecialFolder, FoldersTheUpdateRelies) {
  EXPECT_EQ(SpecialFolder(5, "anna"), "C:\\users\\anna\\Documents");
  EXPECT_EQ(SpecialFolder(26, "anna"), "C:\\users\\anna\\AppData\\Roaming");
  EXPECT_EQ(SpecialFolder(28, "anna"), "C:\\users\\anna\\AppData\\Local");
  EXPECT_EQ(SpecialFolder(38, "anna"), "C:\\Program Files");
}

TEST(SpecialFolder, OtherShellFolders) {
  EXPECT_EQ(SpecialFolder(0, "bo"), "C:\\users\\bo\\Desktop");
  EXPECT_EQ(SpecialFolder(7, "bo"), "C:\\users\\bo\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
  EXPECT_EQ(SpecialFolder(20, "bo"), "C:\\windows\\Fonts");
  EXPECT_EQ(SpecialFolder(23, "bo"), "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
  EXPECT_EQ(SpecialFolder(35, "bo"), "C:\\ProgramData");
  EXPECT_EQ(SpecialFolder(37, "bo"), "C:\\windows\\system32");
  EXPECT_EQ(SpecialFolder(40, "bo"), "C:\\users\\bo");
  EXPECT_EQ(SpecialFolder(43, "bo"), "C:\\Program Files\\Common Files");
  EXPECT_EQ(SpecialFolder(46, "bo"), "C:\\users\\Public\\Documents");
}

TEST(SpecialFolder, VirtualAndUnknownNumbersHaveNoPath) {
  for (int number : {-1, 1, 3, 4, 10, 17, 18, 49, 50, 61, 62, 80, 81, 0x8005})
    EXPECT_EQ(SpecialFolder(number, "bo"), "") << number;
  for (int number = 0; number <= 80; ++number) {
    const std::string path = SpecialFolder(number, "bo");
    if (path.empty()) continue;
    EXPECT_EQ(path.rfind("C:\\", 0), 0u) << number;
    EXPECT_NE(path.back(), '\\') << number;
  }
}

}  // namespace
}  // namespace vmu
