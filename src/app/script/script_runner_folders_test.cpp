// The folder actions and the maintenance setting through the script driver.
#include "app/script/script_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "testing/test_prefix.h"

namespace vmu {
namespace {

struct FolderRun {
  int status;
  std::string out;
  bool Has(const std::string& line) const { return out.find(line + "\n") != std::string::npos; }
};

FolderRun RunLines(const std::string& prefix, const std::string& script, bool maintenance = false) {
  setenv("USER", "anna", 1);
  std::istringstream in("prefix " + prefix + "\nstart\n" + script);
  std::ostringstream out;
  StartOptions options;
  options.maintenance = maintenance;
  int status = RunScript(in, out, nullptr, options);
  return {status, out.str()};
}

struct Installed {
  Installed() {
    for (std::string folder : {"C:\\Program Files\\velmora\\", "C:\\Test\\velmora\\"}) {
      p.Write(folder + "VM.EXE", "exe");
      p.Write(folder + "VM_DBv01.mdb", "db");
      p.Write(folder + "RptDB97.mdb", "rpt");
    }
  }
  testing::TestPrefix p;
};

TEST(ScriptFolders, ServiceButtonsOnlyInMaintenance) {
  Installed i;
  for (const char* press : {"press directories\n", "press command1\n", "press comparetables\n"}) {
    FolderRun r = RunLines(i.p.prefix(), press);
    EXPECT_EQ(r.status, 5) << press << r.out;
    EXPECT_TRUE(r.Has("error control not available")) << r.out;
  }

  FolderRun r = RunLines(i.p.prefix(), "press command1\n", true);
  EXPECT_EQ(r.status, 5) << "the special-folder window is not open yet\n" << r.out;
  // Shown right after the window's load, before the folders are known.
  EXPECT_NE(r.out.find("set cmdOpenLocation enabled true\nset CmdCompareTables visible true\n"
                       "set cmdOpenDirectories visible true\n"),
            std::string::npos)
      << r.out;

  r = RunLines(i.p.prefix(), "press directories\npress command1\npress directories\n", true);
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("directories show\ndirectories text \"0: C:\\\\users\\\\anna\\\\Desktop\\r\\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\\r\\n80: \\r\\n\"\ndirectories show\n"), std::string::npos);
}

TEST(ScriptFolders, InformationWindowAndAnotherInstallation) {
  Installed i;
  FolderRun r = RunLines(i.p.prefix(),
                         "dblclick image\nfile C:\\Test\\velmora\\VM.EXE\npress openlocation\ndump\n");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("info title \"Informatie over programma directory van "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\" label \"Deze applicatie draait in:\" text \""), std::string::npos);
  EXPECT_TRUE(r.Has("set Label1(2) text \"C:\\\\Test\\\\velmora\\\\\\r\\nC:\\\\Test\\\\velmora\\\\\""));
  EXPECT_TRUE(r.Has("state Label2 text \"Stap 1 van 3\" enabled true visible true bold true color black"));
  EXPECT_TRUE(r.Has("state CmdWizard(1) text \"Volgende >>\" enabled true visible true bold false color black"));
}

}  // namespace
}  // namespace vmu
