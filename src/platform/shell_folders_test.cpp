#include "platform/shell_folders.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(SpecialFolder, ShellFolderNumbersAsWineLaysThemOut) {
  const std::pair<int, const char*> folders[] = {
      {5, "C:\\users\\bo\\Documents"},
      {26, "C:\\users\\bo\\AppData\\Roaming"},
      {28, "C:\\users\\bo\\AppData\\Local"},
      {38, "C:\\Program Files"},
      {0, "C:\\users\\bo\\Desktop"},
      {20, "C:\\windows\\Fonts"},
      {7, "C:\\users\\bo\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"},
      {23, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
      {35, "C:\\ProgramData"},
      {37, "C:\\windows\\system32"},
      {40, "C:\\users\\bo"},
      {43, "C:\\Program Files\\Common Files"},
      {46, "C:\\users\\Public\\Documents"}};
  for (auto [number, path] : folders) EXPECT_EQ(SpecialFolder(number, "bo"), path) << number;
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
