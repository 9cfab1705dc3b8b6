// An update with a database conversion, driven through the script driver on
// the demo installation with the demo's own package: the conversion, the
// installation of the converted database and the roll-back.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/script/script_runner.h"
#include "testing/temp_dir.h"
#include "tools/demo/demo_installation.h"
#include "tools/demo/demo_packages.h"

namespace vmu {
namespace {

using testing::HostExists;
using testing::ReadHostFile;
using testing::TempDir;

struct ScriptRun {
  int status;
  std::string out;
  bool Has(const std::string& line) const { return out.find(line + "\n") != std::string::npos; }
};

ScriptRun RunSession(const std::string& prefix, const std::string& script) {
  setenv("USER", "anna", 1);
  std::istringstream in("prefix " + prefix + "\nstart\n" + script);
  std::ostringstream out;
  const int status = RunScript(in, out);
  return {status, out.str()};
}

// The rows of a query, "a|b" per row, each row ending in ";".
std::string Rows(const std::string& database, const std::string& sql) {
  sqlite3* db = nullptr;
  std::string rows;
  if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return "cannot open " + database;
  }
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) rows = sqlite3_errmsg(db);
  while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      const unsigned char* text = sqlite3_column_text(stmt, i);
      rows += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "NULL");
    }
    rows += ";";
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

std::string Unpacker() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "vmu-unpacker").string();
}

TEST(ConversionScenario, DemoPackageConvertsInstallsAndRollsBack) {
  if (access(Unpacker().c_str(), X_OK) != 0) GTEST_SKIP() << "vmu-unpacker not built";
  TempDir dir;
  const DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  CopyDemoPackages(MakeDemoPackages(dir.path(), Unpacker()), DemoHostPath(demo, demo.documents));
  const std::string data = demo.prefix + "/drive_c/users/anna/AppData/Roaming/velmora/";
  // Start-up moves the user's database here from the VirtualStore unchanged.
  const std::string old_database = ReadHostFile(DemoHostPath(demo, demo.virtual_store + "VM_DBv01.mdb"));
  ASSERT_FALSE(old_database.empty());

  ScriptRun install = RunSession(demo.prefix,
                          "file C:\\users\\anna\\Documents\\update-10302-06-conversie.VMU\n"
                          "press next\nwait unpack\npress next\n");
  ASSERT_EQ(install.status, 0) << install.out;
  EXPECT_TRUE(install.Has("set Pbr max 10")) << install.out;
  for (const char* line : {
           R"(set Label2 text "Leegmaken Tbl_Periodeoverzicht")",
           R"(notice text "Relaties: klanten en leveranciers\r\n\r\n3 records")",
           R"(notice text "Boekingen\r\n\r\n4 records")",
           R"(notice text "Periodeoverzicht: boekingen vanaf 1 maart 2026\r\n\r\n3 records")",
           R"(notice text "Eigen grootboekrekeningen\r\n\r\n2 records")",
       })
    EXPECT_TRUE(install.Has(line)) << line;
  EXPECT_EQ(install.out.find(R"(set Label2 text "Leegmaken Tbl_Grootboek")"), std::string::npos);
  EXPECT_NE(install.out.find(R"(set Label1(1) text "De Update is succesvol verlopen\r\n)"), std::string::npos)
      << install.out;

  // The installed database is the converted one: new layout, the user's rows.
  const std::string db = data + "VM_DBv01.mdb";
  EXPECT_EQ(Rows(db, "SELECT Version FROM Tbl_About WHERE CurrentVersion = 1"), "5.3;");
  EXPECT_EQ(Rows(db, "SELECT RelatieID, Relatienaam, Woonplaats, Land FROM Tbl_Relaties ORDER BY 1"),
            "1|Bakkerij De Korenaar|Utrecht|Nederland;2|Fietsenmaker Jansen|Zwolle|Nederland;"
            "3|Drukkerij Van Dijk|Gouda|Nederland;");
  EXPECT_EQ(Rows(db, "SELECT count(*), sum(Bedrag) FROM Tbl_Boekingen"), "4|1922.45;");
  // March onwards only: the date literal is month/day/year.
  EXPECT_EQ(Rows(db, "SELECT * FROM Tbl_Periodeoverzicht ORDER BY 1"),
            "1|FACTUUR 2026-014|Debet|1250;2|FACTUUR 2026-015|Debet|349.95;3|INKOOP PAPIER|Credit|-87.5;");
  // The shipped accounts stay; the user's own join them, -1 counting as yes.
  EXPECT_EQ(Rows(db, "SELECT Rekening FROM Tbl_Grootboek ORDER BY 1"), "0100;1300;4610;4620;8000;8100;");
  EXPECT_EQ(ReadHostFile(data + "ConversieBackup-2/VM_DBv01.mdb"), old_database);
  EXPECT_NE(ReadHostFile(data + "VM.ini").find("VersionUpdate=6\r\n"), std::string::npos);
  EXPECT_FALSE(HostExists(data + "Update"));

  // The result page's button ends the program: the roll-back is a new run.
  ScriptRun rolled_back = RunSession(demo.prefix, "answer yes\nanswer yes\nanswer no\npress turnback\n");
  EXPECT_EQ(rolled_back.status, 0) << rolled_back.out;
  EXPECT_NE(rolled_back.out.find(R"(text "De bestanden zijn succesvol teruggezet)"), std::string::npos)
      << rolled_back.out;
  EXPECT_EQ(ReadHostFile(db), old_database);
  EXPECT_NE(ReadHostFile(data + "VM.ini").find("VersionUpdate=5\r\n"), std::string::npos);
  EXPECT_NE(ReadHostFile(DemoHostPath(demo, demo.program_dir + "VM.EXE")).find("demo-installatie"),
            std::string::npos);
}

}  // namespace
}  // namespace vmu
