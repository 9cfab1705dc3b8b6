#include "startup/mdl_check_app_files.h"

#include <gtest/gtest.h>

#include "files/test_doubles.h"
#include "files/utility.h"
#include "platform/error.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

constexpr const char* kD = "C:\\data\\";
constexpr const char* kList = "C:\\data\\VMbackuptool.ini";

struct BackupListFixture : ::testing::Test {
  BackupListFixture() : ctx(prefix.fs(), processes) { prefix.fs().MakeFolder("C:\\data"); }

  // The stored value, or "<none>" when the key is absent.
  std::string Entry(int n) {
    return ReadIniRaw(prefix.fs(), kList, "Backupfiles", "BackUpfile" + std::to_string(n), "<none>");
  }
  std::string Count() { return ReadIniRaw(prefix.fs(), kList, "Basic settings", "AantalFiles", "<none>"); }
  void Register() { RegisterBackupFiles(ctx, kD, kList); }

  testing::TestPrefix prefix;
  testing::NoProcesses processes;
  RunContext ctx;
};

TEST(AppFileTable, OnlyRequiredFilesAreReported) {
  testing::ScriptedDialogs dialogs;
  EXPECT_EQ(CheckMissingAppFile(dialogs, 3), 2);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(CheckMissingAppFile(dialogs, 2), 1);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const MessageBoxSpec& m = dialogs.messages[0];
  EXPECT_EQ(m.icon, Icon::Critical);
  EXPECT_EQ(m.buttons, Buttons::Ok);
  EXPECT_EQ(m.title, "VM_Update");
  EXPECT_EQ(m.text.rfind("De programma database kan niet gevonden worden\r\n", 0), 0u);
}

TEST_F(BackupListFixture, FreshListGetsTheSevenListedFiles) {
  Register();
  EXPECT_EQ(prefix.Read(kList),
            "[Basic settings]\r\nAantalFiles=7\r\n[Backupfiles]\r\n"
            "BackUpfile1=C:\\data\\VM_DBv01.mdb\r\nBackUpfile2=C:\\data\\RptDB97.mdb\r\n"
            "BackUpfile3=C:\\data\\screens.ini\r\nBackUpfile4=C:\\data\\VMbackuptool.ini\r\n"
            "BackUpfile5=C:\\data\\Factuur.ini\r\nBackUpfile6=C:\\data\\VM.ini\r\n"
            "BackUpfile7=C:\\data\\VM_sources.VMD\r\n");
  // A second run finds everything in place.
  const std::string before = prefix.Read(kList);
  Register();
  EXPECT_EQ(prefix.Read(kList), before);
}

TEST_F(BackupListFixture, EntriesAreRewrittenInPlaceUnlessOnlyCaseDiffers) {
  prefix.Write(kList,
               "[Basic settings]\r\nAantalFiles=4\r\n[Backupfiles]\r\n"
               "BackUpfile1=c:\\DATA\\vm_dbv01.MDB\r\nBackUpfile2=C:\\mijn\\brief.doc\r\n"
               "BackUpfile3=C:\\Program Files\\velmora\\VM.ini\r\nBackUpfile4=C:\\data\\RptDB97.mdb\r\n");
  Register();
  EXPECT_EQ(Entry(1), "c:\\DATA\\vm_dbv01.MDB");
  EXPECT_EQ(Entry(2), "C:\\mijn\\brief.doc");
  EXPECT_EQ(Entry(3), "C:\\data\\VM.ini");
  EXPECT_EQ(Entry(4), "C:\\data\\RptDB97.mdb");
  EXPECT_EQ(Entry(5), "C:\\data\\screens.ini");
  EXPECT_EQ(Entry(8), "C:\\data\\VM_sources.VMD");
  EXPECT_EQ(Count(), "8");
}

TEST_F(BackupListFixture, RemovedFilesAreTakenOutAndLaterEntriesMoveUp) {
  prefix.Write(kList,
               "[Basic settings]\r\nAantalFiles=10\r\n[Backupfiles]\r\n"
               "BackUpfile1=C:\\data\\VM_DBv01.mdb\r\nBackUpfile2=C:\\old\\sourcesBus.VMD\r\n"
               "BackUpfile3=C:\\mijn\\brief.doc\r\nBackUpfile4=C:\\old\\VM.ini\r\n"
               "BackUpfile5=C:\\data\\RptDB97.mdb\r\nBackUpfile6=C:\\data\\screens.ini\r\n"
               "BackUpfile7=C:\\data\\VMbackuptool.ini\r\nBackUpfile8=C:\\data\\Factuur.ini\r\n"
               "BackUpfile9=C:\\data\\VM_sources.VMD\r\nBackUpfile10=C:\\data\\sourcesMed.VMD\r\n");
  Register();
  const char* expected[] = {"C:\\data\\VM_DBv01.mdb", "C:\\mijn\\brief.doc",
                            // rewritten before the shift; the shift moves the new path
                            "C:\\data\\VM.ini", "C:\\data\\RptDB97.mdb", "C:\\data\\screens.ini",
                            "C:\\data\\VMbackuptool.ini", "C:\\data\\Factuur.ini",
                            "C:\\data\\VM_sources.VMD"};
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(Entry(n), expected[n - 1]) << n;
  EXPECT_EQ(Entry(9), "");  // the keys stay, emptied
  EXPECT_EQ(Entry(10), "");
  EXPECT_EQ(Count(), "8");
}

TEST_F(BackupListFixture, EmptyEntriesMatchNothing) {
  // The count runs past the keys: the missing ones are written back empty.
  prefix.Write(kList,
               "[Basic settings]\r\nAantalFiles=3\r\n[Backupfiles]\r\n"
               "BackUpfile1=C:\\data\\VM_DBv01.mdb\r\nBackUpfile3=\\\r\n");
  Register();
  EXPECT_EQ(Entry(2), "");
  EXPECT_EQ(Entry(3), "\\");
  EXPECT_EQ(Entry(4), "C:\\data\\RptDB97.mdb");
  EXPECT_EQ(Entry(9), "C:\\data\\VM_sources.VMD");
  EXPECT_EQ(Count(), "9");
}

TEST_F(BackupListFixture, CountThatIsNoNumberIsATypeError) {
  for (const char* count : {"abc", ""}) {
    prefix.Write(kList, std::string("[Basic settings]\r\nAantalFiles=") + count + "\r\n");
    try {
      Register();
      ADD_FAILURE() << "no error for " << count;
    } catch (const VbError& e) {
      EXPECT_EQ(e.number(), kTypeMismatch);
    }
  }
}

TEST_F(BackupListFixture, OutOfRangeCountsAreBounded) {
  prefix.Write(kList, "[Basic settings]\r\nAantalFiles=-4\r\n");
  Register();
  EXPECT_EQ(Count(), "7");
  EXPECT_EQ(Entry(1), "C:\\data\\VM_DBv01.mdb");

  // A damaged huge count is read only up to the limit of the list.
  prefix.Write(kList, "[Basic settings]\r\nAantalFiles=30000\r\n[Backupfiles]\r\n"
                      "BackUpfile1=C:\\data\\VM_DBv01.mdb\r\n");
  Register();
  EXPECT_EQ(Count(), "1006");
  EXPECT_EQ(Entry(1000), "");
  EXPECT_EQ(Entry(1001), "C:\\data\\RptDB97.mdb");
  EXPECT_EQ(Entry(1007), "<none>");
}

}  // namespace
}  // namespace vmu
