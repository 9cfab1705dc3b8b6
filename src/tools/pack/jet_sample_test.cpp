#include "tools/pack/jet_sample.h"

#include <gtest/gtest.h>

#include "testing/jet_test_files.h"
#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::RunProgram;
using vmu::testing::ReadHostFile;
using vmu::testing::TempDir;
using vmu::testing::WriteHostFile;

// Every command that takes an old database takes a Jet file, and none
// changes it.
TEST(JetSample, TheCommandsReadAJetFileAsTheConversionDoes) {
  TempDir dir;
  const std::string jet = vmu::testing::JetTestFile("velmora-jet4.mdb");
  WriteHostFile(dir.Sub("VM_DB.mdb"), jet);
  testing::WriteConversionSource(dir.Sub("src"), dir.Sub("unused.mdb"));
  ExecuteSql(dir.Sub("src/VM_DBnew.mdb"), "CREATE TABLE Klanten (Nummer INTEGER, Naam TEXT)");
  ExecuteSql(dir.Sub("src/Conversie.mdb"),
             "DELETE FROM TblTabels; INSERT INTO TblTabels VALUES ('Klanten', 1, 1, 1,"
             " 'SELECT Nummer, UCase(Naam) AS Naam FROM Klant WHERE Actief = True', 'Klanten', 'Klanten')");
  const std::string pack = BinDir() + "/vmu-pack";

  const auto packed = RunProgram({pack, "--old-db", dir.Sub("VM_DB.mdb"), dir.Sub("src"), dir.Sub("p.VMU")});
  EXPECT_EQ(packed.status, 0) << packed.err;
  const auto tried = RunProgram({pack, "--try-conversion", dir.Sub("p.VMU"), dir.Sub("VM_DB.mdb")});
  EXPECT_EQ(tried.status, 0) << tried.out << tried.err;
  EXPECT_NE(tried.out.find("\nKlanten: 2 rows read, 2 written, "), std::string::npos) << tried.out;

  const auto copied = RunProgram({pack, "--jet-to-sqlite", dir.Sub("VM_DB.mdb"), dir.Sub("copy.sqlite")});
  EXPECT_EQ(copied.status, 0) << copied.err;
  for (const std::string& database : {dir.Sub("VM_DB.mdb"), dir.Sub("copy.sqlite")}) {
    const auto listed = RunProgram({pack, "--tables", database});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.out.find("  Saldo  (no type)\n"), std::string::npos) << listed.out;
    EXPECT_TRUE(listed.out.ends_with("Tbl_About\n  Version  TEXT\n  CurrentVersion  YESNO\n")) << listed.out;
  }
  EXPECT_EQ(ReadHostFile(dir.Sub("VM_DB.mdb")), jet);

  WriteHostFile(dir.Sub("encrypted.accdb"), vmu::testing::JetTestFile("ace-2010-encrypted-head.accdb"));
  const auto refused = RunProgram({pack, "--tables", dir.Sub("encrypted.accdb")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "vmu-pack: " + dir.Sub("encrypted.accdb") + ": encrypted with a password; it cannot be read\n");
}

}  // namespace
}  // namespace vmu::pack
