// Whole updates driven through the script driver: a package is chosen,
// unpacked by its own program, installed (with a database conversion) and
// rolled back.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/script/scenario_test_kit.h"
#include "testing/conversion_files.h"
#include "tools/demo/demo_installation.h"
#include "tools/demo/demo_packages.h"

namespace vmu {
namespace {

using scenario::kData;
using scenario::kProg;
using scenario::Session;
using testing::HostExists;
using testing::HostRows;
using testing::ReadHostFile;

// The log's lines are the steps' own, tested with them; here the wiring.
TEST(InstallScenario, InstallThenRollBackByteForByte) {
  scenario::StandardInstallation i;
  i.p.Write(kData + "ConversieLog.TXT", "vorige update\r\n");

  Session install = i.Run(
      "file cancel\nanswer ok\npress next\nfile C:\\pakket\\upd.VMU\npress next\n"
      "wait unpack\npress next\npress next\n");
  EXPECT_EQ(install.status, 0) << install.out;
  EXPECT_TRUE(
      install.Has("msgbox title \"VM_Update\" text \"U heeft niets geselecteerd\" buttons ok icon none "
                  "default 1 -> ok"));
  EXPECT_TRUE(install.Has("end"));
  // The old log goes first; the success is logged before the clean-up.
  EXPECT_EQ(i.Log().find("vorige update"), std::string::npos);
  EXPECT_NE(i.Log().find("Update succesvol verlopen\r\nOpruimen installatiefiles\r\n"), std::string::npos);
  EXPECT_EQ(i.p.fs().ListFiles(kData + "ConversieBackup-1\\"), std::vector<std::string>{"VM.EXE"});
  EXPECT_EQ(i.p.fs().ListFiles(kData + "ConversieBackup-2\\"), std::vector<std::string>{"Factuur.ini"});
  EXPECT_EQ(i.p.Read(kProg + "VM.EXE"), "#!/bin/sh\necho nieuw\n");
  EXPECT_EQ(i.p.Read(kData + "VM.ini"), "[Main]\r\nVersion=10302\r\nVersionUpdate=6\r\n");
  EXPECT_FALSE(i.p.Exists(kData + "Update"));
  EXPECT_FALSE(i.p.Exists(kProg + "Extra.txt"));  // location 3 is passed over

  // While Velmora runs nothing happens; No to either question changes nothing, not even the log.
  const std::string log = i.Log();
  i.p.Write(kData + "VM_DBv01.ldb", "");
  Session open = i.Run("answer ok\npress turnback\n");
  EXPECT_TRUE(
      open.Has("msgbox title \"Terugdraaien update\" text \"Velmora staat nog open, sluit deze af en start "
               "Terugdraaien Update opnieuw\" buttons ok icon information default 1 -> ok"));
  std::filesystem::remove(i.p.Host(kData + "VM_DBv01.ldb"));
  Session refused = i.Run("answer no\npress turnback\nanswer yes\nanswer no\npress turnback\n");
  EXPECT_EQ(refused.status, 0) << refused.out;
  EXPECT_TRUE(refused.Has(
      "msgbox title \"Terugdraaien update\" text \"Let op, met deze functie draait u de update weer terug. "
      "\\r\\n\\r\\nDoe dit wanneer u met de nieuwe versie niet goed kunt werken\\r\\n\\r\\nU kunt op een later "
      "moment de update weer uitvoeren.\\r\\n\\r\\nDoorgaan?\" buttons yesno icon exclamation default 2 -> no"));
  EXPECT_TRUE(
      refused.Has("msgbox title \"Terugdraaien update\" text \"De bestanden worden teruggezet naar "
                  "C:\\\\Program Files\\\\velmora\\\\\\r\\n\\r\\nDoorgaan?\" buttons yesno icon none "
                  "default 2 -> no"));
  EXPECT_EQ(i.Log(), log);
  EXPECT_EQ(i.p.Read(kProg + "VM.EXE"), "#!/bin/sh\necho nieuw\n");

  Session rolled_back = i.Run("answer yes\nanswer yes\nanswer yes\npress turnback\n");
  EXPECT_TRUE(rolled_back.Has(
      "msgbox title \"Terugdraaien Update\" text \"De bestanden zijn succesvol teruggezet\\r\\n\\r\\nU kunt weer "
      "verder gaan met de vorige versie van Velmora\\r\\n\\r\\nWilt u stoppen met het updateprogramma?\" buttons "
      "yesno icon information default 1 -> yes"));
  EXPECT_TRUE(rolled_back.Has("end"));
  EXPECT_EQ(rolled_back.out.find("window close"), std::string::npos);  // ended at once
  EXPECT_EQ(i.p.Read(kProg + "VM.EXE"), "#!/bin/sh\necho oud\n");
  EXPECT_EQ(i.p.Read(kData + "Factuur.ini"), "oud factuur\r\n");
  EXPECT_EQ(i.p.Read(kData + "VM.ini"), "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
  EXPECT_EQ(i.Log().rfind(log + "\r\n*******************\r\nTerugdraaien installatie\r\n", 0), 0u);

  // A later run opens the dialog where the package was found.
  Session later = i.Run("file cancel\nanswer ok\npress next\n");
  EXPECT_TRUE(
      later.Has("filedialog title \"Open de update file\" filter \"Velmora update files (*.VMU)|*.VMU\" "
                "folder \"C:\\\\pakket\\\\\" file \"\" -> \"\""));

  // Something in the way of a file to restore: the failure report, and No keeps the wizard open.
  std::filesystem::remove(i.p.Host(kData + "Factuur.ini"));
  std::filesystem::create_directory(i.p.Host(kData + "Factuur.ini"));
  Session failed = i.Run("answer yes\nanswer yes\nanswer ok\nanswer no\npress turnback\n");
  EXPECT_TRUE(
      failed.Has("msgbox title \"Terugdraaien Update\" text \"De bestanden zijn niet succesvol teruggezet"
                 "\\r\\n\\r\\nWilt u stoppen met het updateprogramma?\" buttons yesno icon information "
                 "default 1 -> no"))
      << failed.out;
  EXPECT_FALSE(failed.Has("end"));
}

// The demo installation with the demo's own signed conversion package; the
// progress and the notices of the transfer are pinned down in its own tests.
TEST(ConversionScenario, DemoPackageConvertsInstallsAndRollsBack) {
  scenario::SignedDemo signed_demo;
  const DemoPaths& demo = signed_demo.paths;
  CopyDemoPackages(signed_demo.packages, signed_demo.Documents());
  const std::string data = signed_demo.Data();
  // Start-up moves the user's database here from the VirtualStore unchanged.
  const std::string old_database = ReadHostFile(DemoHostPath(demo, demo.virtual_store + "VM_DBv01.mdb"));
  ASSERT_FALSE(old_database.empty());

  Session install = scenario::Run(demo.prefix,
                                  "file C:\\users\\anna\\Documents\\update-10302-06-conversie.VMU\n"
                                  "press next\nwait unpack\npress next\n");
  ASSERT_EQ(install.status, 0) << install.out;
  EXPECT_TRUE(install.Has(R"(notice text "Boekingen\r\n\r\n4 records")")) << install.out;
  EXPECT_NE(install.out.find(R"(set Label1(1) text "De Update is succesvol verlopen\r\n)"), std::string::npos);

  // The installed database is the converted one: new layout, the user's rows.
  const std::string db = data + "VM_DBv01.mdb";
  EXPECT_EQ(HostRows(db, "SELECT Version FROM Tbl_About WHERE CurrentVersion = 1"), std::vector<std::string>{"5.3"});
  const std::vector<std::string> relaties = {"1|Bakkerij De Korenaar|Utrecht|Nederland",
                                             "2|Fietsenmaker Jansen|Zwolle|Nederland",
                                             "3|Drukkerij Van Dijk|Gouda|Nederland"};
  EXPECT_EQ(HostRows(db, "SELECT RelatieID, Relatienaam, Woonplaats, Land FROM Tbl_Relaties ORDER BY 1"), relaties);
  EXPECT_EQ(HostRows(db, "SELECT count(*), sum(Bedrag) FROM Tbl_Boekingen"), std::vector<std::string>{"4|1922.45"});
  // March onwards only: the date literal is month/day/year.
  EXPECT_EQ(HostRows(db, "SELECT * FROM Tbl_Periodeoverzicht ORDER BY 1"),
            (std::vector<std::string>{"1|FACTUUR 2026-014|Debet|1250", "2|FACTUUR 2026-015|Debet|349.95",
                                      "3|INKOOP PAPIER|Credit|-87.5"}));
  // The shipped accounts stay; the user's own join them, -1 counting as yes.
  EXPECT_EQ(HostRows(db, "SELECT Rekening FROM Tbl_Grootboek ORDER BY 1"),
            (std::vector<std::string>{"0100", "1300", "4610", "4620", "8000", "8100"}));
  EXPECT_EQ(ReadHostFile(data + "ConversieBackup-2/VM_DBv01.mdb"), old_database);
  EXPECT_NE(ReadHostFile(data + "VM.ini").find("VersionUpdate=6\r\n"), std::string::npos);
  EXPECT_FALSE(HostExists(data + "Update"));

  // The result page's button ends the program: the roll-back is a new run.
  Session rolled_back = scenario::Run(demo.prefix, "answer yes\nanswer yes\nanswer no\npress turnback\n");
  EXPECT_EQ(rolled_back.status, 0) << rolled_back.out;
  EXPECT_NE(rolled_back.out.find(R"(text "De bestanden zijn succesvol teruggezet)"), std::string::npos);
  EXPECT_EQ(ReadHostFile(db), old_database);
  EXPECT_NE(ReadHostFile(data + "VM.ini").find("VersionUpdate=5\r\n"), std::string::npos);
  EXPECT_NE(ReadHostFile(DemoHostPath(demo, demo.program_dir + "VM.EXE")).find("demo-installatie"), std::string::npos);
}

}  // namespace
}  // namespace vmu
