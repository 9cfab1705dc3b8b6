#include "wizard/install_progress.h"

#include <gtest/gtest.h>

#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

using testing::InstallWizard;
using testing::kFittingManifest;

TEST(InstallProgress, TheBarStepsOncePerInstalledFileAndHidesAfterwards) {
  InstallWizard w;
  w.prefix.Write("C:\\data\\Update\\VM.EXE", "nieuw exe");
  w.prefix.Write("C:\\data\\Update\\Factuur.ini", "nieuw factuur");
  w.prefix.Write("C:\\data\\Update\\Extra.txt", "niet installeren");
  w.Unpacked(kFittingManifest, "\"VM.EXE\",1\r\n\"Extra.txt\",3\r\n\"Factuur.ini\",2\r\n");
  w.Step3();
  // The entry for location 3 is passed over and is no step.
  EXPECT_NE(w.Out().find("set Pbr max 2\nset Pbr value 0\nset Pbr visible true\nredraw\n"
                         "set Pbr value 1\nset Pbr value 2\nset Pbr visible false\n"),
            std::string::npos)
      << w.Out();
  EXPECT_EQ(w.Read("C:\\data\\Factuur.ini"), "nieuw factuur");
  EXPECT_FALSE(w.view.Inspect(Control::Pbr).visible);

  // A list that installs nothing shows no bar.
  InstallWizard empty;
  empty.Unpacked("[Main]\r\nVer=10302\r\nVerUpdate=7\r\nVerLow=0\r\n", "\"Extra.txt\",3\r\n");
  empty.Step3();
  EXPECT_EQ(empty.Out().find("set Pbr"), std::string::npos) << empty.Out();
}

TEST(InstallProgress, AFailingFileHidesTheBarBeforeTheRestoreIsReported) {
  InstallWizard w;
  w.prefix.Write("C:\\data\\Update\\VM.EXE", "nieuw exe");
  w.Unpacked(kFittingManifest, "\"VM.EXE\",1\r\n\"Ontbreekt.dll\",1\r\n\"Factuur.ini\",2\r\n");
  w.view.QueueAnswer(Answer::Ok);
  w.Step3();
  EXPECT_NE(w.Out().find("set Pbr max 3\nset Pbr value 0\nset Pbr visible true\nredraw\nset Pbr value 1\n"
                         "set Pbr visible false\nmsgbox title \"VM_Update\" text \"Er is een fout ontstaan bij het "
                         "installeren van bestand: "),
            std::string::npos)
      << w.Out();
  EXPECT_EQ(w.Read("C:\\prog\\VM.EXE"), "oud exe");
  EXPECT_FALSE(w.view.Inspect(Control::Pbr).visible);
}

// The bar never runs past its end, whatever the caller counts.
TEST(InstallProgress, StepsStopAtTheNumberOfFiles) {
  std::ostringstream out;
  ScriptView view(out);
  {
    InstallProgress progress(view, {{"a.dll", 1}, {"b.ini", 2}});
    progress.FileDone();
    progress.FileDone();
    progress.FileDone();
    EXPECT_EQ(view.ProgressValue(), 2);
  }
  EXPECT_EQ(out.str(),
            "set Pbr max 2\nset Pbr value 0\nset Pbr visible true\nredraw\nset Pbr value 1\n"
            "set Pbr value 2\nset Pbr visible false\n");
}

}  // namespace
}  // namespace vmu
