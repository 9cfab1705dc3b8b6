#include "startup/mdl_check_app_files.h"

#include <gtest/gtest.h>

#include "files/utility.h"
#include "platform/error.h"
#include "testing/error_of.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

constexpr const char* kList = "C:\\data\\VMbackuptool.ini";

struct BackupListFixture : testing::RunFixture, ::testing::Test {
  // The stored value, or "<none>" when the key is absent.
  std::string Entry(int n) {
    return ReadIniRaw(prefix.fs(), kList, "Backupfiles", "BackUpfile" + std::to_string(n), "<none>");
  }
  std::string Count() { return ReadIniRaw(prefix.fs(), kList, "Basic settings", "AantalFiles", "<none>"); }
  void Register(const std::string& list) {
    prefix.Write(kList, "[Basic settings]\r\n" + list);
    RegisterBackupFiles(ctx, "C:\\data\\", kList);
  }
};

TEST_F(BackupListFixture, FreshListGetsTheSevenListedFiles) {
  RegisterBackupFiles(ctx, "C:\\data\\", kList);
  const std::string fresh =
      "[Basic settings]\r\nAantalFiles=7\r\n[Backupfiles]\r\n"
      "BackUpfile1=C:\\data\\VM_DBv01.mdb\r\nBackUpfile2=C:\\data\\RptDB97.mdb\r\n"
      "BackUpfile3=C:\\data\\screens.ini\r\nBackUpfile4=C:\\data\\VMbackuptool.ini\r\n"
      "BackUpfile5=C:\\data\\Factuur.ini\r\nBackUpfile6=C:\\data\\VM.ini\r\nBackUpfile7=C:\\data\\VM_sources.VMD\r\n";
  EXPECT_EQ(prefix.Read(kList), fresh);
  RegisterBackupFiles(ctx, "C:\\data\\", kList);  // a second run finds everything in place
  EXPECT_EQ(prefix.Read(kList), fresh);
}

TEST_F(BackupListFixture, OutdatedEntriesAreRewrittenTakenOutOrAdded) {
  struct Case {
    const char* list;
    std::vector<std::string> entries;  // 1, 2, ... after the run
    const char* count;
  };
  const Case cases[] = {
      // Rewritten in place unless only the case differs; the user's own file stays.
      {"AantalFiles=4\r\n[Backupfiles]\r\nBackUpfile1=c:\\DATA\\vm_dbv01.MDB\r\nBackUpfile2=C:\\mijn\\brief.doc\r\n"
       "BackUpfile3=C:\\Program Files\\velmora\\VM.ini\r\nBackUpfile4=C:\\data\\RptDB97.mdb\r\n",
       {"c:\\DATA\\vm_dbv01.MDB", "C:\\mijn\\brief.doc", "C:\\data\\VM.ini", "C:\\data\\RptDB97.mdb",
        "C:\\data\\screens.ini", "C:\\data\\VMbackuptool.ini", "C:\\data\\Factuur.ini", "C:\\data\\VM_sources.VMD",
        "<none>"},
       "8"},
      // Removed files go and later entries move up, VM.ini with its new path;
      // the keys at the end stay, emptied.
      {"AantalFiles=10\r\n[Backupfiles]\r\nBackUpfile1=C:\\data\\VM_DBv01.mdb\r\n"
       "BackUpfile2=C:\\old\\sourcesBus.VMD\r\nBackUpfile3=C:\\mijn\\brief.doc\r\nBackUpfile4=C:\\old\\VM.ini\r\n"
       "BackUpfile5=C:\\data\\RptDB97.mdb\r\n"
       "BackUpfile6=C:\\data\\screens.ini\r\nBackUpfile7=C:\\data\\VMbackuptool.ini\r\n"
       "BackUpfile8=C:\\data\\Factuur.ini\r\nBackUpfile9=C:\\data\\VM_sources.VMD\r\n"
       "BackUpfile10=C:\\data\\sourcesMed.VMD\r\n",
       {"C:\\data\\VM_DBv01.mdb", "C:\\mijn\\brief.doc", "C:\\data\\VM.ini", "C:\\data\\RptDB97.mdb",
        "C:\\data\\screens.ini", "C:\\data\\VMbackuptool.ini", "C:\\data\\Factuur.ini", "C:\\data\\VM_sources.VMD", "",
        "", "<none>"},
       "8"},
      // Empty entries match nothing: the missing key comes back empty.
      {"AantalFiles=3\r\n[Backupfiles]\r\nBackUpfile1=C:\\data\\VM_DBv01.mdb\r\nBackUpfile3=\\\r\n",
       {"C:\\data\\VM_DBv01.mdb", "", "\\", "C:\\data\\RptDB97.mdb", "C:\\data\\screens.ini",
        "C:\\data\\VMbackuptool.ini", "C:\\data\\Factuur.ini", "C:\\data\\VM.ini", "C:\\data\\VM_sources.VMD",
        "<none>"},
       "9"},
  };
  for (const Case& c : cases) {
    Register(c.list);
    for (std::size_t n = 1; n <= c.entries.size(); ++n)
      EXPECT_EQ(Entry(static_cast<int>(n)), c.entries[n - 1]) << c.list << n;
    EXPECT_EQ(Count(), c.count) << c.list;
  }
}

TEST_F(BackupListFixture, CountThatIsNoNumberIsATypeErrorAndOutOfRangeCountsAreBounded) {
  for (const char* count : {"AantalFiles=abc\r\n", "AantalFiles=\r\n"})
    EXPECT_EQ(testing::ErrorOf([&] { Register(count); }), kTypeMismatch) << count;

  Register("AantalFiles=-4\r\n");
  EXPECT_EQ(Count(), "7");
  EXPECT_EQ(Entry(1), "C:\\data\\VM_DBv01.mdb");

  // A damaged huge count is read only up to the limit of the list.
  Register("AantalFiles=30000\r\n[Backupfiles]\r\nBackUpfile1=C:\\data\\VM_DBv01.mdb\r\n");
  EXPECT_EQ(Count(), "1006");
  EXPECT_EQ(Entry(1000), "");
  EXPECT_EQ(Entry(1001), "C:\\data\\RptDB97.mdb");
  EXPECT_EQ(Entry(1007), "<none>");
}

}  // namespace
}  // namespace vmu
