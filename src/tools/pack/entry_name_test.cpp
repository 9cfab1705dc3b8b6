#include "tools/pack/entry_name.h"

#include <gtest/gtest.h>

#include "files/file_list.h"

namespace vmu::pack {
namespace {

TEST(EntryName, OnlyBareFileNamesPassAsTheWizardInstallsThem) {
  const char* good[] = {"VM.EXE", "Caf\xC3\xA9.ini", ".hidden", "a b.txt"};
  for (const char* name : good) EXPECT_EQ(NameProblem(name), std::nullopt) << name;
  EXPECT_EQ(NameProblem(""), "is empty");
  for (const char* absolute : {"/etc/x", "\\x", "C:x", "c:\\x", "//server/x"})
    EXPECT_EQ(NameProblem(absolute), "is an absolute path") << absolute;
  for (const char* climbing : {"..", "../x", "..\\x", "a/../../x", "a..b.txt"})
    EXPECT_EQ(NameProblem(climbing), "contains \"..\" (it could climb out of the folder)")
        << climbing;
  for (const char* folder : {"sub/x", "sub\\x", "x/"})
    EXPECT_EQ(NameProblem(folder), "has a folder part") << folder;
  EXPECT_EQ(NameProblem("ab:c"), "contains a colon");
  EXPECT_EQ(NameProblem(". "), "is not a file name");

  // Whatever passes here the wizard installs, and the other way round.
  for (const char* name :
       {"VM.EXE", ".hidden", "..", "a..b", "x:y", ". ", "sub\\x", "/etc/x", "C:x"})
    EXPECT_EQ(IsInstallableName(name), !NameProblem(name)) << name;
}

}  // namespace
}  // namespace vmu::pack
