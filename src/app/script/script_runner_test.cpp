// Start-up scenarios and the folder actions driven through the script driver
// on prefixes built here.
#include "app/script/script_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "app/script/scenario_test_kit.h"
#include "testing/test_prefix.h"
#include "tools/demo/demo_installation.h"

namespace vmu {
namespace {

using testing::HostExists;
using testing::ReadHostFile;
using testing::TempDir;
using testing::TestPrefix;
using testing::WriteHostFile;

using ScriptRun = scenario::Session;

ScriptRun RunLines(const std::string& prefix, const std::string& script, bool maintenance = false) {
  ScriptOptions options;
  options.maintenance = maintenance;
  return scenario::Run(prefix, script, options, false);
}

// An installation outside the program-files folder, with every required file.
void MakeInstallation(TestPrefix& p, const std::string& folder) {
  p.Write(folder + "VM.EXE", "#!/bin/sh\n");
  p.Write(folder + "VM_DBv01.mdb", "db");
  p.Write(folder + "RptDB97.mdb", "rpt");
  p.Write(folder + "VM.ini", "[Main]\r\nVersion=10302\r\n");
}

TEST(StartUp, ProgramFilesInstallationMovesDataOutOfTheVirtualStore) {
  TempDir dir;
  DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  std::string c = demo.prefix + "/drive_c/";
  WriteHostFile(c + "Program Files/velmora/sourcesBus.VMD", "oud");
  ScriptRun r = RunLines(demo.prefix, "start\ndump\n");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(
      r.Has("set Label1(2) text \"C:\\\\Program Files\\\\velmora\\\\\\r\\n"
            "C:\\\\users\\\\anna\\\\AppData\\\\Roaming\\\\velmora\\\\\""))
      << r.out;
  EXPECT_TRUE(r.Has("set Label1(3) text \"Programma folder: \\r\\nData folder: \""));
  EXPECT_TRUE(r.Has("window show"));
  EXPECT_EQ(r.out.find("msgbox"), std::string::npos);

  std::string roaming = c + "users/anna/AppData/Roaming/velmora/";
  std::string store = c + "users/anna/AppData/Local/VirtualStore/Program Files/velmora/";
  // The VirtualStore copy of VM.ini wins and is moved; the listed files only
  // in the program folder are copied; the removed file goes from the
  // VirtualStore, while the program folder is not ours to clean.
  EXPECT_NE(ReadHostFile(roaming + "VM.ini").find("VersionUpdate=5"), std::string::npos);
  EXPECT_FALSE(HostExists(store + "VM.ini"));
  EXPECT_FALSE(HostExists(store + "VM_DBv01.mdb"));
  EXPECT_TRUE(HostExists(roaming + "VM_DBv01.mdb"));
  EXPECT_TRUE(HostExists(roaming + "RptDB97.mdb"));
  EXPECT_TRUE(HostExists(c + "Program Files/velmora/RptDB97.mdb"));
  EXPECT_FALSE(HostExists(roaming + "VM.EXE"));
  EXPECT_FALSE(HostExists(store + "sourcesBus.VMD"));
  EXPECT_FALSE(HostExists(roaming + "sourcesBus.VMD"));
  EXPECT_TRUE(HostExists(c + "Program Files/velmora/sourcesBus.VMD"));
  // The backup list's entries are its own test's; here it is kept in the data folder.
  EXPECT_NE(ReadHostFile(roaming + "VMbackuptool.ini").find("dirfrom=C:\\users\\anna\\AppData\\Roaming\\velmora\\\r\n"),
            std::string::npos);
}

TEST(StartUp, InstallationElsewhereIsChosenInTheDialogOrTheRunEnds) {
  TestPrefix p;
  MakeInstallation(p, "C:\\Apps\\Velmora\\");
  ScriptRun chosen = RunLines(p.prefix(), "answer ok\nfile C:\\apps\\velmora\\vm.exe\nstart\n");
  EXPECT_EQ(chosen.status, 0) << chosen.out;
  EXPECT_TRUE(
      chosen.Has("msgbox title \"VM_Update\" text \"Het update programma kan de Velmora programma folder niet "
                 "vinden, de installatie is in een afwijkende folder gezet. In het volgende scherm wordt u "
                 "gevraagd het bestand VM.EXE te openen\" buttons ok icon none default 1 -> ok"));
  EXPECT_TRUE(
      chosen.Has("filedialog title \"Zoek de directory waar VM.EXE in staat\" filter "
                 "\"Velmora programma (VM.EXE)|VM.EXE\" folder \"C:\\\\Program Files\" file "
                 "\"\" -> \"C:\\\\apps\\\\velmora\\\\vm.exe\""));
  EXPECT_TRUE(chosen.Has("set Label1(2) text \"C:\\\\apps\\\\velmora\\\\\\r\\nC:\\\\apps\\\\velmora\\\\\""))
      << chosen.out;

  ScriptRun cancelled = RunLines(p.prefix(), "answer ok\nfile cancel\nanswer ok\nstart\n");
  EXPECT_EQ(cancelled.status, 0);
  EXPECT_TRUE(
      cancelled.Has("msgbox title \"VM_Update\" text \"U heeft geen keuze gemaakt, het update "
                    "programma wordt afgesloten\" buttons ok icon none default 1 -> ok"));
  EXPECT_TRUE(cancelled.Has("end"));
  EXPECT_FALSE(cancelled.Has("window show"));
}

TEST(StartUp, MissingDatabaseShowsTwoMessagesAndEnds) {
  TestPrefix p;
  p.Write("C:\\Program Files\\velmora\\VM.EXE", "x");
  p.Write("C:\\Program Files\\velmora\\RptDB97.mdb", "rpt");
  ScriptRun r = RunLines(p.prefix(), "answer ok\nanswer ok\nstart\n");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("msgbox title \"VM_Update\" text \"De programma database kan niet gevonden worden\\r\\n"),
            std::string::npos);
  EXPECT_NE(r.out.find("buttons ok icon critical default 1 -> ok\n"), std::string::npos);
  EXPECT_TRUE(
      r.Has("msgbox title \"VM_Update\" text \"Velmora updater kan VM_DBv01.mdb niet vinden en "
            "wordt nu afgesloten. Neem contact op met uw leverancier\" buttons ok icon none "
            "default 1 -> ok"));
  EXPECT_TRUE(r.Has("end"));  // the backup list's update before it is the other folder's test
}

TEST(StartUp, NetworkProgramFolderGoesOnWithoutDataFolder) {
  TestPrefix p;
  MakeInstallation(p, "C:\\Apps\\velmora\\");
  std::string cwd = std::filesystem::current_path();
  std::filesystem::current_path(p.Host("C:\\"));
  // A relative choice has no drive letter, as a network path has none.
  ScriptRun r = RunLines(p.prefix(), "answer ok\nfile Apps\\velmora\\VM.EXE\nanswer ok\nstart\n");
  std::filesystem::current_path(cwd);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_TRUE(r.Has("msgbox title \"VM_Update\" text \"Geen Directory\" buttons ok icon none default 1 -> ok"));
  EXPECT_TRUE(r.Has("set Label1(2) text \"Apps\\\\velmora\\\\\\r\\n\""));
  EXPECT_TRUE(r.Has("window show"));
}

// Binary bytes in every settings file do not stop start-up. (A count that is
// no number ends it with its description: the backup list's and the other
// folder's tests hold that.)
TEST(StartUp, BinarySettingsDoNotStopStartUp) {
  TestPrefix p;
  MakeInstallation(p, "C:\\Apps\\velmora\\");
  const std::string script = "answer ok\nfile C:\\Apps\\velmora\\VM.EXE\nstart\n";
  std::string garbage("\0\xff\xfe[\x01=\x80\r\n\n=\0[]]", 14);
  p.Write("C:\\Apps\\velmora\\VMbackuptool.ini", garbage);
  p.Write("C:\\Apps\\velmora\\VM.ini", garbage + std::string(100000, 'x'));
  ScriptRun binary = RunLines(p.prefix(), script);
  EXPECT_EQ(binary.status, 0) << binary.out;
  EXPECT_TRUE(binary.Has("window show"));
}

TEST(StartUp, UnusableDataFolderEndsStartUpWithoutLosingFiles) {
  TempDir dir;
  DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  // A file where the data folder belongs: nothing can be moved into it.
  std::string roaming = demo.prefix + "/drive_c/users/anna/AppData/Roaming/velmora";
  WriteHostFile(roaming, "in de weg");
  ScriptRun r = RunLines(demo.prefix, "answer ok\nstart\n");
  EXPECT_NE(r.out.find("\\r\\nDeze functie wordt nu afgesloten\" buttons ok"), std::string::npos) << r.out;
  EXPECT_TRUE(r.Has("end"));
  std::string store = demo.prefix + "/drive_c/users/anna/AppData/Local/VirtualStore/Program Files/velmora/";
  EXPECT_TRUE(HostExists(store + "VM_DBv01.mdb"));
  EXPECT_EQ(ReadHostFile(roaming), "in de weg");
}

TEST(ScriptDriver, ExitStatusesTellWhatWentWrong) {
  TempDir dir;
  DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  // A button is pressed and the picture double-clicked, never the other way round.
  const std::tuple<const char*, int, const char*> cases[] = {
      {"press back", 5, "error control not available"},
      // The service buttons only in maintenance.
      {"press directories", 5, "error control not available"},
      {"press command1", 5, "error control not available"},
      {"press comparetables", 5, "error control not available"},
      {"press cancel", 3, "error no answer queued"},
      {"answer yes", 4, "error answers left over"},
      {"jump", 2, "error unknown command \"jump\""},
      {"press image", 2, "error unknown control \"image\""},
      {"dblclick next", 2, "error unknown control \"next\""},
      {"press Label2", 2, "error unknown control \"Label2\""},
  };
  for (const auto& [line, status, printed] : cases) {
    ScriptRun r = RunLines(demo.prefix, std::string("start\n") + line + "\n");
    EXPECT_EQ(r.status, status) << line;
    EXPECT_TRUE(r.Has(printed)) << r.out;
  }

  ScriptRun closed = RunLines(demo.prefix, "start   # comment\nanswer yes\nclose\n");
  EXPECT_EQ(closed.status, 0);
  EXPECT_TRUE(closed.Has("window close"));
  EXPECT_EQ(closed.out.substr(closed.out.size() - 4), "end\n");
}

TEST(ScriptDriver, ServiceButtonsOnlyInMaintenance) {
  TempDir dir;
  DemoPaths demo = MakeDemoInstallation(dir.path(), "anna");
  ScriptRun r = RunLines(demo.prefix, "start\npress command1\n", true);
  EXPECT_EQ(r.status, 5) << "the special-folder window is not open yet\n" << r.out;
  // Shown right after the window's load, before the folders are known.
  EXPECT_NE(r.out.find("set cmdOpenLocation enabled true\nset CmdCompareTables visible true\n"
                       "set cmdOpenDirectories visible true\n"),
            std::string::npos)
      << r.out;

  r = RunLines(demo.prefix, "start\npress directories\npress command1\npress directories\n", true);
  EXPECT_EQ(r.status, 0) << r.out;  // the window's own text is checked where it is made
}

}  // namespace
}  // namespace vmu
