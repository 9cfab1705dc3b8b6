#include "tools/pack/conversion_check.h"

#include <gtest/gtest.h>

#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::LineCount;
using testing::RunProgram;
using testing::WriteConversionSource;
using vmu::testing::TempDir;

ConversionCheckFiles FilesIn(const TempDir& dir, bool with_old_db) {
  return {dir.Sub("src/VM_DBnew.mdb"), dir.Sub("src/Conversie.mdb"), with_old_db ? dir.Sub("old.mdb") : "", "5.1",
          "5.2"};
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST(ConversionCheck, NamesTheControlRowAndFieldOfEachFault) {
  enum Db { kNew, kControl, kOld };
  struct Fault {
    const char* what;
    Db db;
    const char* sql;
    bool needs_old_db;  // found only on the old side
    const char* line;   // one problem, or the warning when `warning`
    bool warning = false;
  };
  const Fault faults[] = {
      {"query names a column the old database lacks", kControl,
       "UPDATE TblTabels SET query = 'SELECT ID, Naam, Plaats FROM Klanten' WHERE tabelnaam = 'Klant'", true,
       "Conversie.mdb: row \"Klant\": the query does not run on old.mdb (--old-db): no such column: Plaats"},
      {"destination lacks a field the query returns", kNew, "ALTER TABLE Klant DROP COLUMN Plaats", true,
       "Conversie.mdb: row \"Klant\": field \"Plaats\" of the query is not in QueryDest \"Klant\"; the conversion "
       "stops at its first row with error 3265"},
      {"Memo column", kNew,
       "DROP TABLE Klant; CREATE TABLE Klant (ID INTEGER PRIMARY KEY, Naam TEXT, Plaats TEXT, Notitie Memo)", false,
       "Conversie.mdb: row \"Klant\": field \"Notitie\" of table \"Klant\" is declared \"Memo\", where SQLite "
       "stores a text of digits as a number",
       true},
      {"table to empty missing", kControl, "UPDATE TblTabels SET tabelnaam = 'Klanten' WHERE tabelnaam = 'Klant'",
       false, "Conversie.mdb: row \"Klanten\": DeleteTarget empties table \"Klanten\", which VM_DBnew.mdb lacks"},
      {"destination does not open", kControl,
       "UPDATE TblTabels SET QueryDest = 'Boekingen' WHERE tabelnaam = 'Boeking'", false,
       "Conversie.mdb: row \"Boeking\": QueryDest \"Boekingen\" does not open on VM_DBnew.mdb: no such table"},
      {"new version", kNew, "UPDATE Tbl_About SET Version = '5.3' WHERE CurrentVersion = 1", false,
       "VM_DBnew.mdb: Tbl_About gives version \"5.3\" but the manifest's ConvToVer is \"5.2\""},
      {"old version", kOld, "UPDATE Tbl_About SET Version = '5.0'", true,
       "old.mdb (--old-db): Tbl_About gives version \"5.0\" but the manifest's ConvFromVer is \"5.1\""},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.what);
    TempDir dir;
    WriteConversionSource(dir.Sub("src"), dir.Sub("old.mdb"));
    const std::string db[] = {dir.Sub("src/VM_DBnew.mdb"), dir.Sub("src/Conversie.mdb"), dir.Sub("old.mdb")};
    ExecuteSql(db[fault.db], fault.sql);

    // Exactly one line: the sound source around the fault passes on both sides.
    const ConversionCheck check = CheckConversion(FilesIn(dir, true));
    const std::vector<std::string>& found = fault.warning ? check.warnings : check.problems;
    ASSERT_EQ(found.size(), 1u) << Joined(check.problems) << Joined(check.warnings);
    EXPECT_EQ(found[0].find(fault.line), 0u) << found[0];
    EXPECT_EQ(fault.warning ? check.problems.size() : check.warnings.size(), 0u);

    // Without the sample only the new side is checked.
    const ConversionCheck new_side = CheckConversion(FilesIn(dir, false));
    EXPECT_EQ(new_side.problems.size() + new_side.warnings.size(), fault.needs_old_db ? 0u : 1u)
        << Joined(new_side.problems) << Joined(new_side.warnings);
  }
}

TEST(ConversionCheck, WarnsWhenATableIsEmptiedBeforeATableReferencingIt) {
  TempDir dir;
  WriteConversionSource(dir.Sub("src"), dir.Sub("old.mdb"));
  ExecuteSql(dir.Sub("src/VM_DBnew.mdb"),
             "DROP TABLE Boeking; CREATE TABLE Boeking (ID INTEGER PRIMARY KEY, Bedrag NUMERIC,"
             " Klant INTEGER REFERENCES Klant (ID), Vorige INTEGER REFERENCES Boeking (ID))");
  ExecuteSql(dir.Sub("src/Conversie.mdb"), "UPDATE TblTabels SET DeleteTarget = 1");
  const ConversionCheck wrong = CheckConversion(FilesIn(dir, true));
  EXPECT_TRUE(wrong.problems.empty()) << Joined(wrong.problems);
  EXPECT_EQ(Joined(wrong.warnings),
            "Conversie.mdb: row \"Klant\": DeleteTarget empties table \"Klant\" before row \"Boeking\" empties "
            "table \"Boeking\", whose foreign key references it; where foreign keys are enforced that delete fails "
            "while \"Boeking\" has rows; give row \"Boeking\" the lower OrderDelete\n");

  // The referencing table first, or not emptied at all (the update order does not count).
  ExecuteSql(dir.Sub("src/Conversie.mdb"), "UPDATE TblTabels SET OrderDelete = 3 - OrderDelete");
  EXPECT_EQ(Joined(CheckConversion(FilesIn(dir, true)).warnings), "");
  ExecuteSql(dir.Sub("src/Conversie.mdb"),
             "UPDATE TblTabels SET OrderDelete = 3 - OrderDelete, DeleteTarget = (tabelnaam = 'Klant')");
  EXPECT_EQ(Joined(CheckConversion(FilesIn(dir, true)).warnings), "");
}

TEST(VmuPack, RefusesABrokenConversionAndPacksOneWithWarnings) {
  TempDir dir;
  WriteConversionSource(dir.Sub("src"), dir.Sub("old.mdb"));
  const std::string pack = BinDir() + "/vmu-pack";
  ExecuteSql(dir.Sub("src/Conversie.mdb"),
             "UPDATE TblTabels SET query = 'SELECT Nr FROM Boeking' WHERE tabelnaam = 'Boeking'");
  // Without a sample the query cannot be tried.
  EXPECT_EQ(RunProgram({pack, dir.Sub("src"), dir.Sub("a.VMU")}).status, 0);
  const auto refused = RunProgram({pack, "--old-db", dir.Sub("old.mdb"), dir.Sub("src"), dir.Sub("b.VMU")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "vmu-pack: Conversie.mdb: row \"Boeking\": the query does not run on old.mdb (--old-db): no such column: "
            "Nr\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Sub("b.VMU")));

  ExecuteSql(dir.Sub("src/Conversie.mdb"),
             "UPDATE TblTabels SET query = 'SELECT * FROM Boeking' WHERE tabelnaam = 'Boeking'");
  ExecuteSql(dir.Sub("src/VM_DBnew.mdb"),
             "DROP TABLE Boeking; CREATE TABLE Boeking (ID INTEGER PRIMARY KEY, Bedrag Memo)");
  const auto warned = RunProgram({pack, "--old-db=" + dir.Sub("old.mdb"), dir.Sub("src"), dir.Sub("c.VMU")});
  EXPECT_EQ(warned.status, 0) << warned.err;
  EXPECT_EQ(LineCount(warned.err), 1) << warned.err;
  EXPECT_EQ(warned.err.find("vmu-pack: warning: Conversie.mdb: row \"Boeking\": field \"Bedrag\""), 0u);
  EXPECT_TRUE(std::filesystem::exists(dir.Sub("c.VMU")));

  const auto misplaced = RunProgram({pack, "--old-db", dir.Sub("old.mdb"), "--list", dir.Sub("c.VMU")});
  EXPECT_EQ(misplaced.status, 2);
  EXPECT_EQ(misplaced.err.find("vmu-pack: --old-db goes with packing a folder only\n"), 0u) << misplaced.err;
}

}  // namespace
}  // namespace vmu::pack
