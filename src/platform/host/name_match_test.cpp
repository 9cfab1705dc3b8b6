#include "platform/host/name_match.h"

#include <gtest/gtest.h>

#include <tuple>

#include "platform/host/host_file_system.h"

namespace vmu {
namespace {

// Listing a folder with wildcards is checked on a real one too.
TEST(WildcardMatch, WindowsRules) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"*.*", "a.b.c", true},
      {"*", "x", true},
      {"VM*.ini", "VM.ini.bak", false},
      {"VM*.ini", "XVM.ini", false},
      {"VM*.*", "VM_README", true},
      {"a?c.txt", "ABC.txt", true},
      {"a?c.txt", "ac.txt", false},
      {"a?c.txt", "abbc.txt", false},
      {"*a*a*a", "aXaYaZa", true},
      {"?.txt", "\xC3\xA9.txt", true},  // '?' takes one character, not one byte
      {"", "x", false}};
  for (auto [pattern, name, match] : cases) EXPECT_EQ(WildcardMatch(pattern, name), match) << pattern << " " << name;
}

TEST(NameMatch, CaseFolding) {
  EXPECT_TRUE(SameNameIgnoringCase("Program Files", "PROGRAM FILES"));
  EXPECT_TRUE(SameNameIgnoringCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));  // Été
  EXPECT_FALSE(SameNameIgnoringCase("a", "b"));
  EXPECT_FALSE(SameNameIgnoringCase("\xE9", "\xC3\xA9"));  // a stray byte is not a character
}

}  // namespace
}  // namespace vmu
