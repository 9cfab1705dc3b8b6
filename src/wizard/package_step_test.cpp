#include "wizard/package_step.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

TEST(PackageStep, CopiesAndStartsThePackageAndPassesOverAnUnpackerThatHasEnded) {
  testing::InstallWizard w;
  w.prefix.Write("C:\\pakket\\upd.VMU", "#!/bin/sh\n");
  chmod(w.prefix.Host("C:\\pakket\\upd.VMU").c_str(), 0755);
  w.prefix.Write("C:\\pakket\\ConversieLog.TXT", "oud\r\n");
  w.prefix.Write("C:\\data\\Update\\oud.txt", "oud");
  w.view.QueueFile("C:\\pakket\\upd.VMU");
  w.form->CmdWizard_Click(1);

  for (int value = 0; value <= 5; ++value) EXPECT_TRUE(w.Shown("set Pbr value " + std::to_string(value)));
  EXPECT_FALSE(w.view.Inspect(Control::Pbr).visible);
  EXPECT_FALSE(w.prefix.Exists("C:\\data\\Update\\oud.txt"));
  // The fake unpacker has ended before its window is activated.
  EXPECT_EQ(w.Log(),
            "Leegmaken C:\\data\\Update\\\r\nFOUT 5 - Invalid procedure call or argument. Stap 2\r\n"
            "Uitpakken VMU file\r\nResume Next bij fout 5\r\n");
  EXPECT_EQ(w.Label(),
            "Het updatefile [upd.VMU] staat klaar om geïnstalleerd te worden.\r\n\r\n\r\n"
            "Druk op 'Volgende' om het installeren te starten");
  EXPECT_FALSE(w.prefix.Exists("C:\\pakket\\ConversieLog.TXT"));

  // A data folder with a blank reaches the unpacker as one argument.
  w.form->CmdWizard_Click(0);
  w.ctx.folders.DataDir = "C:\\mijn data\\";
  w.prefix.Write("C:\\mijn data\\VM.ini", "");
  w.view.QueueFile("C:\\pakket\\upd.VMU");
  w.form->CmdWizard_Click(1);
  EXPECT_EQ(w.processes.started.at(1), "C:\\mijn data\\Update\\VMU_ZP.exe /auto \"C:\\mijn data\\Update\"");
}

}  // namespace
}  // namespace vmu
