#include "platform/prefix_folders.h"

#include <gtest/gtest.h>

#include <vector>

namespace vmu {
namespace {

constexpr const char* kHeader = "WINE REGISTRY Version 2\n\n";
constexpr const char* kCurrentVersion = "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n";
constexpr const char* kShellFolders =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1\n";

PrefixFolders Folders(const std::string& user_reg, const std::string& system_reg) {
  return PrefixFoldersFromRegistry(ParseWineRegistry(user_reg), ParseWineRegistry(system_reg));
}

TEST(PrefixFolders, TheRegistryNamesTheFoldersAndTheRestIsComputedForTheArchitecture) {
  const std::string user = std::string(kHeader) + "#arch=win64\n" + kShellFolders +
                           "\"Personal\"=\"D:\\\\Documenten\\\\\"\n"  // a trailing backslash is dropped
                           "\"AppData\"=\"D:\\\\Gegevens\"\n"
                           "\"Desktop\"=\"C:\\\\users\\\\bo\\\\Bureaublad\"\n"
                           "\"My Music\"=\"\"\n";  // empty: computed
  const std::string system64 = std::string(kHeader) + "#arch=win64\n" + kCurrentVersion +
                               "\"ProgramFilesDir\"=\"C:\\\\Programmas\"\n"
                               "\"ProgramFilesDir (x86)\"=\"C:\\\\Programmas (x86)\"\n" +
                               kShellFolders + "\"Common Documents\"=\"E:\\\\Gedeeld\"\n";
  const std::string system32 =
      std::string(kHeader) + "#arch=win32\n" + kCurrentVersion + "\"ProgramFilesDir\"=\"C:\\\\Programmas\"\n";
  struct Case {
    const char* what;
    std::string user_reg, system_reg;
    std::vector<std::pair<int, std::string>> folders;
    std::vector<std::string> program_files;
  };
  const Case cases[] = {
      {"64-bit, registry values",
       user,
       system64,
       {{5, "D:\\Documenten"},
        {26, "D:\\Gegevens"},
        {0, "C:\\users\\bo\\Bureaublad"},
        {16, "C:\\users\\bo\\Bureaublad"},
        {13, "C:\\users\\bo\\Music"},
        {28, "C:\\users\\bo\\AppData\\Local"},
        {38, "C:\\Programmas (x86)"},
        {42, "C:\\Programmas (x86)"},
        {43, "C:\\Program Files (x86)\\Common Files"},
        {41, "C:\\windows\\syswow64"},
        {46, "E:\\Gedeeld"}},
       {"C:\\Programmas (x86)", "C:\\Programmas"}},
      {"64-bit, no values: computed",
       std::string(kHeader) + "#arch=win64\n",
       "",
       {{5, "C:\\users\\bo\\Documents"}, {38, "C:\\Program Files (x86)"}, {42, "C:\\Program Files (x86)"}},
       {"C:\\Program Files (x86)", "C:\\Program Files"}},
      {"32-bit",
       "",
       system32,
       {{38, "C:\\Programmas"},
        {42, "C:\\Programmas"},
        {43, "C:\\Program Files\\Common Files"},
        {41, "C:\\windows\\system32"}},
       {"C:\\Programmas"}},
      {"no architecture line: 32-bit",
       kHeader,
       kHeader,
       {{38, "C:\\Program Files"}, {42, "C:\\Program Files"}, {44, "C:\\Program Files\\Common Files"}},
       {"C:\\Program Files"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const PrefixFolders folders = Folders(c.user_reg, c.system_reg);
    for (const auto& [number, path] : c.folders) EXPECT_EQ(SpecialFolder(number, "bo", folders), path) << number;
    EXPECT_EQ(ProgramFilesFolders("bo", folders), c.program_files);
  }
}

TEST(PrefixFolders, APrefixWithoutRegistryFilesKeepsTheComputedLayout) {
  const PrefixFolders none;
  for (int number = -1; number <= 81; ++number)
    EXPECT_EQ(SpecialFolder(number, "bo", none), SpecialFolder(number, "bo")) << number;
  EXPECT_EQ(ProgramFilesFolders("bo", none),
            (std::vector<std::string>{"C:\\Program Files", "C:\\Program Files (x86)"}));
}

}  // namespace
}  // namespace vmu
