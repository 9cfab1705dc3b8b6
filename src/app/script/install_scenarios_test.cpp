// Whole updates driven through the script driver: a package is chosen,
// unpacked by its own program, installed (with a database conversion) and
// rolled back.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "app/script/script_runner.h"
#include "testing/conversion_files.h"
#include "testing/sealed_package.h"
#include "testing/test_prefix.h"
#include "tools/demo/demo_installation.h"
#include "tools/demo/demo_packages.h"

namespace vmu {
namespace {

using testing::HostExists;
using testing::HostRows;
using testing::ReadHostFile;
using testing::WriteHostFile;

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

// A program built beside this test program.
std::string Tool(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

const std::string kProg = "C:\\Program Files\\velmora\\";
const std::string kData = "C:\\users\\anna\\AppData\\Roaming\\velmora\\";

// A Velmora installation under Program Files (data in the roaming folder)
// and, outside the drive, the files of an update that replaces VM.EXE and
// Factuur.ini and adds Nieuw.dll.
struct Installation {
  Installation() {
    p.Write(kProg + "VM.EXE", "#!/bin/sh\necho oud\n");
    p.Write(kProg + "VM_DBv01.mdb", "db");
    p.Write(kProg + "RptDB97.mdb", "rpt");
    p.Write(kData + "VM_DBv01.mdb", "db");
    p.Write(kData + "RptDB97.mdb", "rpt");
    p.Write(kData + "VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
    p.Write(kData + "Factuur.ini", "oud factuur\r\n");
    p.Write("C:\\users\\anna\\Documents\\brief.txt", "");
    for (const auto& [name, bytes] : std::map<std::string, std::string>{
             {"VM.EXE", "#!/bin/sh\necho nieuw\n"},
             {"Factuur.ini", "nieuw factuur\r\n"},
             {"Nieuw.dll", "dll"},
             {"Extra.txt", "niet installeren"},
             {"installatieV2.ini", "[Main]\r\nVer=10302\r\nVerUpdate=6\r\nVerLow=10302\r\nVerLowUpdate=5\r\n"},
             {"FileList.VML", "\"VM.EXE\",1\r\n\"Extra.txt\",3\r\n\"Nieuw.dll\",1\r\n\"Factuur.ini\",2\r\n"}})
      WriteHostFile(source + "/" + name, bytes);
  }
  ScriptRun Run(const std::string& script) { return RunSession(p.prefix(), script); }
  std::string Log() { return p.Read(kData + "ConversieLog.TXT"); }

  testing::TestPrefix p;
  std::string source = p.prefix() + "/bron";
};

// The package's own program may have ended before its window is activated.
std::string WithoutResumeLines(std::string log) {
  const std::string lines =
      "FOUT 5 - Invalid procedure call or argument. Stap 2\r\nUitpakken VMU file\r\n"
      "Resume Next bij fout 5\r\n";
  if (size_t at = log.find(lines); at != std::string::npos) log.erase(at, lines.size());
  return log;
}

const std::string kInstallLog =
    "Maken C:\\users\\anna\\AppData\\Roaming\\velmora\\Update\\\r\n"
    "Updatefile C:\\pakket\\upd.VMU niet op een handtekening gecontroleerd: geen UpdateSleutels.txt in de "
    "programmamap\r\n"
    "lezen INIfile installatieV2.ini\r\ncheck new update\r\n"
    "Maken C:\\users\\anna\\AppData\\Roaming\\velmora\\ConversieBackup-1\\\r\n"
    "Maken C:\\users\\anna\\AppData\\Roaming\\velmora\\ConversieBackup-2\\\r\n"
    "Verplaatsen C:\\Program Files\\velmora\\VM.EXE naar C:\\users\\anna\\AppData\\Roaming\\velmora\\"
    "ConversieBackup-1\\VM.EXE\r\n"
    "Kopieren C:\\users\\anna\\AppData\\Roaming\\velmora\\Update\\VM.EXE naar C:\\Program Files\\velmora\\VM.EXE\r\n"
    "Kopieren C:\\users\\anna\\AppData\\Roaming\\velmora\\Update\\Nieuw.dll naar C:\\Program Files\\velmora\\"
    "Nieuw.dll\r\n"
    "Verplaatsen C:\\users\\anna\\AppData\\Roaming\\velmora\\Factuur.ini naar C:\\users\\anna\\AppData\\Roaming\\"
    "velmora\\ConversieBackup-2\\Factuur.ini\r\n"
    "Kopieren C:\\users\\anna\\AppData\\Roaming\\velmora\\Update\\Factuur.ini naar C:\\users\\anna\\AppData\\"
    "Roaming\\velmora\\Factuur.ini\r\n"
    "Update succesvol verlopen\r\nOpruimen installatiefiles\r\n"
    "verwijderen installatiedirectory C:\\users\\anna\\AppData\\Roaming\\velmora\\Update\r\n";

TEST(InstallScenario, InstallThenRollBackByteForByte) {
  Installation i;
  // A package is any program that unpacks into the folder it is given.
  i.p.Write("C:\\pakket\\upd.VMU", testing::CopyingPackage(i.source, i.p.Host(kData + "Update")));
  chmod(i.p.Host("C:\\pakket\\upd.VMU").c_str(), 0755);
  i.p.Write(kData + "ConversieLog.TXT", "vorige update\r\n");

  ScriptRun install = i.Run(
      "file cancel\nanswer ok\npress next\nfile C:\\pakket\\upd.VMU\npress next\n"
      "wait unpack\npress next\npress next\n");
  EXPECT_EQ(install.status, 0) << install.out;
  EXPECT_TRUE(
      install.Has("msgbox title \"VM_Update\" text \"U heeft niets geselecteerd\" buttons ok icon none "
                  "default 1 -> ok"));
  EXPECT_TRUE(
      install.Has("start \"\\\"C:\\\\users\\\\anna\\\\AppData\\\\Roaming\\\\velmora\\\\Update\\\\VMU_ZP.exe\\\" "
                  "/auto C:\\\\users\\\\anna\\\\AppData\\\\Roaming\\\\velmora\\\\Update\" style minimized"));
  EXPECT_TRUE(install.Has("end"));
  EXPECT_EQ(WithoutResumeLines(i.Log()), kInstallLog);
  EXPECT_EQ(i.p.fs().ListFiles(kData + "ConversieBackup-1\\"), std::vector<std::string>{"VM.EXE"});
  EXPECT_EQ(i.p.fs().ListFiles(kData + "ConversieBackup-2\\"), std::vector<std::string>{"Factuur.ini"});
  EXPECT_EQ(i.p.Read(kProg + "VM.EXE"), "#!/bin/sh\necho nieuw\n");
  EXPECT_EQ(i.p.Read(kData + "VM.ini"), "[Main]\r\nVersion=10302\r\nVersionUpdate=6\r\n");
  EXPECT_FALSE(i.p.Exists(kData + "Update"));
  EXPECT_FALSE(i.p.Exists(kProg + "Extra.txt"));  // location 3 is passed over

  // While Velmora runs nothing happens; No to either question changes nothing, not even the log.
  const std::string log = i.Log();
  i.p.Write(kData + "VM_DBv01.ldb", "");
  ScriptRun open = i.Run("answer ok\npress turnback\n");
  EXPECT_TRUE(
      open.Has("msgbox title \"Terugdraaien update\" text \"Velmora staat nog open, sluit deze af en start "
               "Terugdraaien Update opnieuw\" buttons ok icon information default 1 -> ok"));
  std::filesystem::remove(i.p.Host(kData + "VM_DBv01.ldb"));
  ScriptRun refused = i.Run("answer no\npress turnback\nanswer yes\nanswer no\npress turnback\n");
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

  ScriptRun rolled_back = i.Run("answer yes\nanswer yes\nanswer yes\npress turnback\n");
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
  ScriptRun later = i.Run("file cancel\nanswer ok\npress next\n");
  EXPECT_TRUE(
      later.Has("filedialog title \"Open de update file\" filter \"Velmora update files (*.VMU)|*.VMU\" "
                "folder \"C:\\\\pakket\\\\\" file \"\" -> \"\""));

  // Something in the way of a file to restore: the failure report, and No keeps the wizard open.
  std::filesystem::remove(i.p.Host(kData + "Factuur.ini"));
  std::filesystem::create_directory(i.p.Host(kData + "Factuur.ini"));
  ScriptRun failed = i.Run("answer yes\nanswer yes\nanswer ok\nanswer no\npress turnback\n");
  EXPECT_TRUE(
      failed.Has("msgbox title \"Terugdraaien Update\" text \"De bestanden zijn niet succesvol teruggezet"
                 "\\r\\n\\r\\nWilt u stoppen met het updateprogramma?\" buttons yesno icon information "
                 "default 1 -> no"))
      << failed.out;
  EXPECT_FALSE(failed.Has("end"));
}

// The demo installation with the demo's own conversion package; the
// progress and the notices of the transfer are pinned down in its own tests.
TEST(ConversionScenario, DemoPackageConvertsInstallsAndRollsBack) {
  if (access(Tool("vmu-unpacker").c_str(), X_OK) != 0) GTEST_SKIP() << "vmu-unpacker not built";
  testing::TempDir dir;
  const DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  CopyDemoPackages(MakeDemoPackages(dir.path(), Tool("vmu-unpacker")), DemoHostPath(demo, demo.documents));
  const std::string data = demo.prefix + "/drive_c/users/anna/AppData/Roaming/velmora/";
  // Start-up moves the user's database here from the VirtualStore unchanged.
  const std::string old_database = ReadHostFile(DemoHostPath(demo, demo.virtual_store + "VM_DBv01.mdb"));
  ASSERT_FALSE(old_database.empty());

  ScriptRun install = RunSession(demo.prefix,
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
  ScriptRun rolled_back = RunSession(demo.prefix, "answer yes\nanswer yes\nanswer no\npress turnback\n");
  EXPECT_EQ(rolled_back.status, 0) << rolled_back.out;
  EXPECT_NE(rolled_back.out.find(R"(text "De bestanden zijn succesvol teruggezet)"), std::string::npos);
  EXPECT_EQ(ReadHostFile(db), old_database);
  EXPECT_NE(ReadHostFile(data + "VM.ini").find("VersionUpdate=5\r\n"), std::string::npos);
  EXPECT_NE(ReadHostFile(DemoHostPath(demo, demo.program_dir + "VM.EXE")).find("demo-installatie"), std::string::npos);
}

}  // namespace
}  // namespace vmu
