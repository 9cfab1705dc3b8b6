#include "startup/mdl_directory.h"

#include <gtest/gtest.h>

#include "files/test_doubles.h"
#include "files/utility.h"
#include "startup/mdl_check_app_files.h"
#include "platform/error.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

constexpr const char* kProgram = "C:\\Program Files\\velmora\\";
constexpr const char* kRoaming = "C:\\users\\user\\AppData\\Roaming\\velmora\\";
constexpr const char* kStore = "C:\\users\\user\\AppData\\Local\\VirtualStore\\Program Files\\velmora\\";
constexpr const char* kApps = "C:\\Apps\\velmora\\";

struct DirectoryFixture : ::testing::Test {
  DirectoryFixture() : ctx(prefix.fs(), processes) {}

  std::string Resolve(std::string program_folder) {
    status = 0;
    missing.clear();
    return ResolveDataDir(ctx, dialogs, program_folder, status, missing);
  }
  void Put(const std::string& folder, const std::string& name, const std::string& bytes) {
    prefix.Write(folder + name, bytes);
  }
  std::string DirFrom(const std::string& d) {
    return ReadIniRaw(prefix.fs(), d + "VMbackuptool.ini", "Basic settings", "dirfrom", "<none>");
  }

  testing::TestPrefix prefix;
  testing::NoProcesses processes;
  testing::ScriptedDialogs dialogs;
  RunContext ctx;
  ResolveStatus status = 0;
  std::string missing;
};

TEST_F(DirectoryFixture, ProgramFilesInstallationMigratesIntoTheRoamingFolder) {
  Put(kStore, "VM_DBv01.mdb", "store-db");
  Put(kProgram, "VM_DBv01.mdb", "program-db");
  Put(kProgram, "RptDB97.mdb", "program-rpt");
  Put(kProgram, "VM.EXE", "exe");
  Put(kStore, "sourcesBus.VMD", "old");
  Put(kProgram, "sourcesBus.VMD", "old");

  std::string program = "C:\\Program Files\\velmora";
  EXPECT_EQ(ResolveDataDir(ctx, dialogs, program, status, missing), kRoaming);
  EXPECT_EQ(program, kProgram);
  EXPECT_EQ(status, 2);  // optional files are missing
  EXPECT_EQ(missing, "");
  EXPECT_TRUE(dialogs.messages.empty());

  // The VirtualStore copy wins and is moved; the program folder's is copied.
  EXPECT_EQ(prefix.Read(std::string(kRoaming) + "VM_DBv01.mdb"), "store-db");
  EXPECT_FALSE(prefix.Exists(std::string(kStore) + "VM_DBv01.mdb"));
  EXPECT_EQ(prefix.Read(std::string(kProgram) + "VM_DBv01.mdb"), "program-db");
  EXPECT_EQ(prefix.Read(std::string(kRoaming) + "RptDB97.mdb"), "program-rpt");
  EXPECT_EQ(prefix.Read(std::string(kProgram) + "RptDB97.mdb"), "program-rpt");
  EXPECT_FALSE(prefix.Exists(std::string(kRoaming) + "VM.EXE"));

  // Removed files go from the VirtualStore; the program folder is not ours to clean.
  EXPECT_FALSE(prefix.Exists(std::string(kStore) + "sourcesBus.VMD"));
  EXPECT_FALSE(prefix.Exists(std::string(kRoaming) + "sourcesBus.VMD"));
  EXPECT_TRUE(prefix.Exists(std::string(kProgram) + "sourcesBus.VMD"));

  EXPECT_EQ(DirFrom(kRoaming), kRoaming);
  EXPECT_EQ(ReadIniRaw(prefix.fs(), std::string(kRoaming) + "VMbackuptool.ini", "Backupfiles",
                       "BackUpfile1", ""),
            std::string(kRoaming) + "VM_DBv01.mdb");
}

TEST_F(DirectoryFixture, FilesAlreadyInTheDataFolderStay) {
  Put(kRoaming, "VM_DBv01.mdb", "db");
  Put(kRoaming, "RptDB97.mdb", "rpt");
  Put(kRoaming, "VM.ini", "mine");
  Put(kStore, "VM.ini", "newer");
  Put(kRoaming, "sourcesMed.VMD", "old");
  Put(kStore, "sourcesMed.VMD", "old");

  EXPECT_EQ(Resolve(kProgram), kRoaming);
  EXPECT_EQ(prefix.Read(std::string(kRoaming) + "VM.ini"), "mine");
  EXPECT_EQ(prefix.Read(std::string(kStore) + "VM.ini"), "newer");
  EXPECT_FALSE(prefix.Exists(std::string(kRoaming) + "sourcesMed.VMD"));
  EXPECT_FALSE(prefix.Exists(std::string(kStore) + "sourcesMed.VMD"));
}

TEST_F(DirectoryFixture, MissingDatabaseStopsTheSearchButTheListIsStillKept) {
  Put(kApps, "VM.EXE", "exe");
  EXPECT_EQ(Resolve("C:\\Apps\\velmora\\"), kApps);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(missing, "VM_DBv01.mdb");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].icon, Icon::Critical);
  EXPECT_EQ(DirFrom(kApps), kApps);
}

TEST_F(DirectoryFixture, OwnFolderInstallationWithOptionalFileMissing) {
  for (int i = 1; i <= 6; ++i) Put(kApps, AppFileName(i), "x");
  Put(kApps, "sourcesBus.VMD", "old");
  EXPECT_EQ(Resolve("C:\\Apps\\velmora"), kApps);
  EXPECT_EQ(status, 2);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(prefix.Exists(std::string(kApps) + "sourcesBus.VMD"));
  EXPECT_FALSE(prefix.Exists("C:\\users\\user\\AppData\\Roaming\\velmora"));
}

TEST_F(DirectoryFixture, NetworkFolderIsNoDirectory) {
  EXPECT_EQ(Resolve("\\\\srv\\share\\velmora\\"), "");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(missing, "");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Geen Directory");
  EXPECT_EQ(dialogs.messages[0].icon, Icon::None);
  EXPECT_EQ(dialogs.messages[0].title, "VM_Update");
}

// Fails one chosen folder creation with the given error.
class FailingFolders : public testing::ForwardingFileSystem {
 public:
  FailingFolders(FileSystem& inner, std::string path, int number)
      : ForwardingFileSystem(inner), path_(std::move(path)), number_(number) {}
  void MakeFolder(const std::string& p) override {
    made.push_back(p);
    if (p == path_) throw VbError(number_);
    ForwardingFileSystem::MakeFolder(p);
  }
  std::vector<std::string> made;

 private:
  std::string path_;
  int number_;
};

TEST_F(DirectoryFixture, MakeFolderPathIgnoresExistingFoldersAndShowsOtherErrors) {
  prefix.Write("C:\\a\\keep.txt", "");
  MakeFolderPath(ctx, dialogs, "C:\\a\\b\\c\\");
  EXPECT_TRUE(prefix.Exists("C:\\a\\b\\c"));
  EXPECT_TRUE(dialogs.messages.empty());

  FailingFolders failing(prefix.fs(), "C:\\x\\y", kPermissionDenied);
  RunContext failing_ctx(failing, processes);
  MakeFolderPath(failing_ctx, dialogs, "C:\\x\\y\\z");
  EXPECT_EQ(failing.made, (std::vector<std::string>{"C:\\x", "C:\\x\\y"}));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Permission denied");
  EXPECT_EQ(dialogs.messages[0].title, "70");
}

TEST_F(DirectoryFixture, BrowseForFileGivesAnExistingFileAndItsFolder) {
  prefix.Write("C:\\Apps\\velmora\\VM.EXE", "exe");
  std::string folder = "C:\\Program Files";
  dialogs.files = {"C:\\apps\\velmora\\vm.exe"};
  EXPECT_EQ(BrowseForFile(ctx, dialogs, "T", "F|*.x", folder, "init"), "C:\\apps\\velmora\\vm.exe");
  EXPECT_EQ(folder, "C:\\apps\\velmora\\");
  ASSERT_EQ(dialogs.dialogs.size(), 1u);
  EXPECT_EQ(dialogs.dialogs[0].title, "T");
  EXPECT_EQ(dialogs.dialogs[0].filter, "F|*.x");
  EXPECT_EQ(dialogs.dialogs[0].folder, "C:\\Program Files");
  EXPECT_EQ(dialogs.dialogs[0].file, "init");

  for (const char* answer : {"cancel", "", "C:\\Apps\\velmora\\gone.exe"}) {
    folder = "C:\\Program Files";
    dialogs.files = {answer};
    EXPECT_EQ(BrowseForFile(ctx, dialogs, "T", "F", folder, ""), "") << answer;
    EXPECT_EQ(folder, "") << answer;
  }
}

}  // namespace
}  // namespace vmu
