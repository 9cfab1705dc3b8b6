#include "wizard/install_progress.h"

#include <gtest/gtest.h>

#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

using testing::InstallWizard;
using testing::kFittingManifest;

std::string Values(int from, int to) {
  std::string out;
  for (int v = from; v <= to; ++v) out += "set Pbr value " + std::to_string(v) + "\n";
  return out;
}

// Keeping 2 previous files, copying 2, flushing them and 4 folders, then
// clearing 5 unpacked files: each phase names itself and moves the bar, and
// the result page comes after the last step.
TEST(InstallProgress, EveryPhaseMovesTheBarBeforeTheResultPageShows) {
  InstallWizard w;
  w.prefix.Write("C:\\data\\Update\\Factuur.ini", "nieuw factuur");
  w.prefix.Write("C:\\data\\Update\\Extra.txt", "niet installeren");
  w.Unpacked(kFittingManifest, "\"VM.EXE\",1\r\n\"Extra.txt\",3\r\n\"Factuur.ini\",2\r\n");
  w.Step3();
  const std::string phases =
      "set Pbr max 15\nset Pbr value 0\nset Pbr visible true\nset Label2 text \"Bestanden veiligstellen...\"\n"
      "redraw\n" +
      Values(1, 2) + "set Label2 text \"Bestanden installeren...\"\nredraw\n" + Values(3, 4) +
      "set Label2 text \"Wegschrijven naar schijf...\"\nredraw\n" + Values(5, 10) +
      "set Label2 text \"Opruimen...\"\nredraw\n" + Values(11, 15) +
      "set Label2 text \"\"\nset Pbr visible false\nset Label1(1) color black\n";
  EXPECT_NE(w.Out().find(phases), std::string::npos) << w.Out();
  EXPECT_EQ(w.prefix.Read("C:\\data\\Factuur.ini"), "nieuw factuur");
  EXPECT_TRUE(w.Printed("set Label2 text \"Stap 3 van 3\""));

  // A list that installs nothing shows no bar.
  InstallWizard empty;
  empty.Unpacked("[Main]\r\nVer=10302\r\nVerUpdate=7\r\nVerLow=0\r\n", "\"Extra.txt\",3\r\n");
  empty.Step3();
  EXPECT_EQ(empty.Out().find("set Pbr"), std::string::npos) << empty.Out();
}

}  // namespace
}  // namespace vmu
