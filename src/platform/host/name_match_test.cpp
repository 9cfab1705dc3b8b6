#include "platform/host/name_match.h"

#include <gtest/gtest.h>

#include "platform/host/host_file_system.h"

namespace vmu {
namespace {

TEST(WildcardMatch, WindowsRules) {
  EXPECT_TRUE(WildcardMatch("*.*", "README"));  // no dot needed
  EXPECT_TRUE(WildcardMatch("*.*", "a.b.c"));
  EXPECT_TRUE(WildcardMatch("*", "x"));
  EXPECT_TRUE(WildcardMatch("VM*.ini", "vm.INI"));
  EXPECT_TRUE(WildcardMatch("VM*.ini", "VMbackuptool.ini"));
  EXPECT_FALSE(WildcardMatch("VM*.ini", "VM.ini.bak"));
  EXPECT_FALSE(WildcardMatch("VM*.ini", "XVM.ini"));
  EXPECT_TRUE(WildcardMatch("VM*.*", "VM_README"));
  EXPECT_TRUE(WildcardMatch("a?c.txt", "ABC.txt"));
  EXPECT_FALSE(WildcardMatch("a?c.txt", "ac.txt"));
  EXPECT_FALSE(WildcardMatch("a?c.txt", "abbc.txt"));
  EXPECT_TRUE(WildcardMatch("?.txt", "\xC3\xA9.txt"));  // '?' takes one character, not one byte
  EXPECT_TRUE(WildcardMatch("*a*a*a", "aXaYaZa"));
  EXPECT_FALSE(WildcardMatch("*.mdb", "VM_DBv01.ldb"));
  EXPECT_FALSE(WildcardMatch("", "x"));
}

TEST(NameMatch, CaseFoldingAndOrder) {
  EXPECT_TRUE(SameNameIgnoringCase("Program Files", "PROGRAM FILES"));
  EXPECT_TRUE(SameNameIgnoringCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));  // Été
  EXPECT_FALSE(SameNameIgnoringCase("a", "b"));
  EXPECT_FALSE(SameNameIgnoringCase("\xE9", "\xC3\xA9"));  // a stray byte is not a character
  EXPECT_TRUE(NameLessIgnoringCase("apple", "Banana"));
  EXPECT_TRUE(NameLessIgnoringCase("A", "a"));  // ties go by the bytes
  EXPECT_FALSE(NameLessIgnoringCase("a", "A"));
}

}  // namespace
}  // namespace vmu
