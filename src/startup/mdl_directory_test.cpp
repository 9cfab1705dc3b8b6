// The migration from the program-files folder is driven whole in the start-up
// scenarios; these are the cases those do not reach.
#include "startup/mdl_directory.h"

#include <gtest/gtest.h>

#include "files/utility.h"
#include "platform/error.h"
#include "platform/shell_folders.h"
#include "startup/directories_window.h"
#include "startup/mdl_check_app_files.h"
#include "testing/fault_file_system.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

constexpr const char* kProgram = "C:\\Program Files\\velmora\\";
constexpr const char* kRoaming = "C:\\users\\user\\AppData\\Roaming\\velmora\\";
constexpr const char* kStore = "C:\\users\\user\\AppData\\Local\\VirtualStore\\Program Files\\velmora\\";
constexpr const char* kApps = "C:\\Apps\\velmora\\";

struct DirectoryFixture : testing::RunFixture, ::testing::Test {
  std::string Resolve(std::string program_folder) {
    choice = ResolveDataDir(ctx, dialogs, program_folder);
    return choice.data_dir;
  }

  DataDirChoice choice;
};

TEST_F(DirectoryFixture, FilesAlreadyInTheDataFolderStay) {
  prefix.Write(std::string(kRoaming) + "VM_DBv01.mdb", "db");
  prefix.Write(std::string(kRoaming) + "RptDB97.mdb", "rpt");
  prefix.Write(std::string(kRoaming) + "VM.ini", "mine");
  prefix.Write(std::string(kStore) + "VM.ini", "newer");
  prefix.Write(std::string(kRoaming) + "sourcesMed.VMD", "old");
  prefix.Write(std::string(kStore) + "sourcesMed.VMD", "old");
  EXPECT_EQ(Resolve(kProgram), kRoaming);
  EXPECT_EQ(prefix.Read(std::string(kRoaming) + "VM.ini"), "mine");
  EXPECT_EQ(prefix.Read(std::string(kStore) + "VM.ini"), "newer");
  EXPECT_FALSE(prefix.Exists(std::string(kRoaming) + "sourcesMed.VMD"));
  EXPECT_FALSE(prefix.Exists(std::string(kStore) + "sourcesMed.VMD"));
}

TEST_F(DirectoryFixture, OwnFolderInstallationWithOptionalFileMissing) {
  for (int i = 1; i <= 6; ++i) prefix.Write(kApps + AppFileName(i), "x");
  prefix.Write(std::string(kApps) + "sourcesBus.VMD", "old");
  EXPECT_EQ(Resolve("C:\\Apps\\velmora"), kApps);
  EXPECT_TRUE(choice.optional_missing);
  EXPECT_EQ(choice.missing_required, "");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(prefix.Exists(std::string(kApps) + "sourcesBus.VMD"));
  EXPECT_FALSE(prefix.Exists("C:\\users\\user\\AppData\\Roaming\\velmora"));
}

TEST_F(DirectoryFixture, MakeFolderPathIgnoresExistingFoldersAndShowsOtherErrors) {
  prefix.Write("C:\\a\\keep.txt", "");
  MakeFolderPath(ctx, dialogs, "C:\\a\\b\\c\\");
  EXPECT_TRUE(prefix.Exists("C:\\a\\b\\c"));
  EXPECT_TRUE(dialogs.messages.empty());

  testing::FaultFileSystem failing(prefix.fs(), testing::Fault::Once, 2);  // C:\x\y is refused
  RunContext failing_ctx(failing, processes);
  MakeFolderPath(failing_ctx, dialogs, "C:\\x\\y\\z");
  EXPECT_EQ(failing.operations(), 2);  // nothing is tried below the refused folder
  EXPECT_TRUE(prefix.Exists("C:\\x"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Permission denied");
  EXPECT_EQ(dialogs.messages[0].title, "70");
}

TEST_F(DirectoryFixture, BrowseForFileGivesNothingWithoutAnExistingFile) {
  for (const char* answer : {"cancel", "fail", "", "C:\\Apps\\velmora\\gone.exe"}) {
    std::string folder = "C:\\Program Files";
    dialogs.files = {answer};
    EXPECT_EQ(BrowseForFile(ctx, dialogs, "T", "F", folder, ""), "") << answer;
    EXPECT_EQ(folder, "") << answer;
  }
}

// A 64-bit prefix shows a 32-bit program Program Files (x86); writes below
// either program-files folder are redirected, so both keep data per user.
TEST_F(DirectoryFixture, BothProgramFilesFoldersOfA64BitPrefixKeepTheDataPerUser) {
  ctx.host.prefix_folders.arch = PrefixArch::kWin64;
  ctx.host.prefix_folders.native_program_files = "C:\\Program Files";
  const std::pair<const char*, const char*> installations[] = {
      {"C:\\Program Files (x86)\\velmora\\", "C:\\users\\user\\AppData\\Roaming\\velmora\\"},
      {"C:\\Program Files\\Velmora64\\", "C:\\users\\user\\AppData\\Roaming\\Velmora64\\"}};
  for (const auto& [program, roaming] : installations) {
    SCOPED_TRACE(program);
    prefix.Write(std::string(program) + "VM_DBv01.mdb", "db");
    prefix.Write(std::string(program) + "RptDB97.mdb", "rpt");
    EXPECT_EQ(Resolve(program), roaming);
    EXPECT_EQ(prefix.Read(std::string(roaming) + "VM_DBv01.mdb"), "db");
    EXPECT_EQ(choice.missing_required, "");
  }
  // The special-folder window shows the same view.
  const std::string list = SpecialFolderList(ctx);
  EXPECT_NE(list.find("\r\n38: C:\\Program Files (x86)\r\n"), std::string::npos) << list;
  EXPECT_NE(list.find("\r\n42: C:\\Program Files (x86)\r\n"), std::string::npos) << list;
  // Elsewhere the program folder keeps its data.
  for (int i = 1; i <= 2; ++i) prefix.Write(kApps + AppFileName(i), "x");
  EXPECT_EQ(Resolve(kApps), kApps);
}

// The installation is claimed on DataDirFor's answer before ResolveDataDir
// runs: both must name the same folder, or the claim guards the wrong one.
TEST_F(DirectoryFixture, DataDirForNamesTheFolderResolutionChooses) {
  for (int i = 1; i <= 6; ++i) prefix.Write(kApps + AppFileName(i), "x");
  struct Case {
    std::string program_folder;
    std::string data_dir;
  };
  for (const Case& c : std::vector<Case>{{kProgram, kRoaming},
                                         {"c:\\PROGRAM FILES\\Velmora", "C:\\users\\user\\AppData\\Roaming\\Velmora\\"},
                                         {"C:\\Apps\\velmora", kApps},
                                         {kApps, kApps},
                                         {"\\\\server\\velmora\\", ""}}) {
    EXPECT_EQ(DataDirFor(ctx, c.program_folder), c.data_dir) << c.program_folder;
    EXPECT_EQ(Resolve(c.program_folder), c.data_dir) << c.program_folder;
  }
}

}  // namespace
}  // namespace vmu
