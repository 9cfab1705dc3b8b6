#include "package/bare_name.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace vmu::package {
namespace {

TEST(BareName, OnlyBareFileNamesPassEachRefusalSaysWhy) {
  using namespace std::string_literals;
  const std::string climbs = "contains \"..\" (it could climb out of the folder)";
  const std::pair<std::string, std::string> problems[] = {
      {"", "is empty"},
      {"/etc/x", "is an absolute path"},
      {"\\x", "is an absolute path"},
      {"C:x", "is an absolute path"},
      {"c:\\x", "is an absolute path"},
      {"//server/x", "is an absolute path"},
      {"\\\\server\\share\\x", "is an absolute path"},
      {"..", climbs},
      {"../x", climbs},
      {"..\\x", climbs},
      {"a/../../x", climbs},
      {"a..b.txt", climbs},
      {"sub/x", "has a folder part"},
      {"sub\\x", "has a folder part"},
      {"x/", "has a folder part"},
      {"ab:c", "contains a colon"},
      // Only dots and blanks: Windows takes them for the folder itself.
      {".", "is not a file name"},
      {". ", "is not a file name"},
      {". .", "is not a file name"},
      {" ", "is not a file name"},
      {"a\0b"s, "holds a NUL character"}};
  for (const auto& [name, problem] : problems) {
    EXPECT_EQ(NameProblem(name), problem) << name;
    EXPECT_FALSE(IsBareFileName(name)) << name;
  }
  for (const char* name : {"VM.EXE", "Caf\xC3\xA9.ini", ".hidden", ".profile", "a b.txt", "a.b.c", "x "}) {
    EXPECT_EQ(NameProblem(name), std::nullopt) << name;
    EXPECT_TRUE(IsBareFileName(name)) << name;
  }
}

}  // namespace
}  // namespace vmu::package
