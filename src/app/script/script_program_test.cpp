// The vmupdate-script program's own handling of its arguments.
#include <gtest/gtest.h>

#include "tools/pack/pack_test_support.h"

namespace vmu {
namespace {

using pack::testing::BinDir;
using pack::testing::RunProgram;

// A folder opens as a stream that reads nothing; the run must not pass as an
// empty script that succeeded.
TEST(ScriptProgram, RefusesAFolderAsItsScript) {
  testing::TempDir dir;
  const auto result = RunProgram({BinDir() + "/vmupdate-script", dir.path()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "vmupdate-script: cannot read " + dir.path() + ": it is a folder\n");
}

// What keeps the wizard from starting is named before anything else happens.
TEST(ScriptProgram, AMissingPrefixOrDisplayIsNamed) {
  testing::TempDir dir;
  const std::string nowhere = dir.Sub("nergens");
  testing::WriteHostFile(dir.Sub("s"), "prefix " + nowhere + "\nanswer ok\nstart\n");
  const auto run = RunProgram({BinDir() + "/vmupdate-script", dir.Sub("s")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "msgbox title \"VM_Update\" text \"In de Wine-map " + nowhere +
                         " staan geen Wine-stations (dosdevices of drive_c).\\r\\nZet WINEPREFIX op de Wine-map "
                         "waarin Velmora is geïnstalleerd en start het update programma opnieuw.\\r\\nHet update "
                         "programma wordt nu afgesloten\" buttons ok icon none default 1 -> ok\nend\n");
  EXPECT_FALSE(std::filesystem::exists(nowhere));

  const auto window = RunProgram({BinDir() + "/VM_Update"}, {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="});
  EXPECT_EQ(window.status, 1);
  EXPECT_EQ(window.out, "");
  EXPECT_NE(window.err.find("needs a desktop session"), std::string::npos) << window.err;
  EXPECT_NE(window.err.find("vmupdate-script"), std::string::npos) << window.err;
}

}  // namespace
}  // namespace vmu
