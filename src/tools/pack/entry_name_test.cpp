#include "tools/pack/entry_name.h"

#include <gtest/gtest.h>

#include "files/file_list.h"

namespace vmu::pack {
namespace {

TEST(EntryName, OnlyBareFileNamesPassAsTheWizardInstallsThem) {
  const std::string climbs = "contains \"..\" (it could climb out of the folder)";
  const std::pair<const char*, std::string> problems[] = {
      {"", "is empty"},         {"/etc/x", "is an absolute path"}, {"\\x", "is an absolute path"},
      {"C:x", "is an absolute path"}, {"c:\\x", "is an absolute path"}, {"//server/x", "is an absolute path"},
      {"..", climbs},           {"../x", climbs},                 {"..\\x", climbs},
      {"a/../../x", climbs},    {"a..b.txt", climbs},             {"sub/x", "has a folder part"},
      {"sub\\x", "has a folder part"}, {"x/", "has a folder part"}, {"ab:c", "contains a colon"},
      {". ", "is not a file name"}};
  for (const auto& [name, problem] : problems) EXPECT_EQ(NameProblem(name), problem) << name;
  // Whatever passes here the wizard installs, and the other way round.
  for (const char* name : {"VM.EXE", "Caf\xC3\xA9.ini", ".hidden", "a b.txt", "..", "a..b", "x:y", ". ", "sub\\x",
                           "/etc/x", "C:x"})
    EXPECT_EQ(IsInstallableName(name), !NameProblem(name)) << name;
}

}  // namespace
}  // namespace vmu::pack
