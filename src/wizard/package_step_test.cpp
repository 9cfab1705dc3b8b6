#include "wizard/package_step.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/crypto/hashing.h"
#include "platform/crypto/host_package_checker.h"
#include "testing/sealed_package.h"
#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

TEST(PackageStep, CopiesAndStartsThePackageAndPassesOverAnUnpackerThatHasEnded) {
  testing::InstallWizard w;
  w.prefix.Write("C:\\pakket\\upd.VMU", "#!/bin/sh\n");
  chmod(w.prefix.Host("C:\\pakket\\upd.VMU").c_str(), 0755);
  w.prefix.Write("C:\\pakket\\ConversieLog.TXT", "oud\r\n");
  w.prefix.Write("C:\\data\\ConversieLog.TXT", "vorige update\r\n");
  w.prefix.Write("C:\\data\\Update\\oud.txt", "oud");
  // Going back from the dialog keeps the last update's log.
  w.view.QueueFile("");
  w.view.QueueAnswer(Answer::Ok);
  w.form->CmdWizard_Click(1);
  EXPECT_EQ(w.Log(), "vorige update\r\n");

  w.view.QueueFile("C:\\pakket\\upd.VMU");
  w.processes.waits_before_end = 2;
  w.form->CmdWizard_Click(1);
  for (int value = 0; value <= 5; ++value) EXPECT_TRUE(w.Printed("set Pbr value " + std::to_string(value)));
  EXPECT_FALSE(w.view.Inspect(Control::Pbr).visible);
  EXPECT_FALSE(w.prefix.Exists("C:\\data\\Update\\oud.txt"));
  // The buttons wait while the unpacker works, and the window is redrawn.
  EXPECT_NE(w.Out().find("set Label1(1) text \"Het updatefile [upd.VMU] wordt uitgepakt. Even geduld aub...\"\n"
                         "set CmdWizard(0) enabled false\nset CmdWizard(1) enabled false\nredraw\nredraw\nredraw\n"
                         "set CmdWizard(0) enabled true\nset CmdWizard(1) enabled true\n"),
            std::string::npos)
      << w.Out();
  // The fake unpacker has ended before its window is activated.
  EXPECT_EQ(w.Log(),
            "Leegmaken C:\\data\\Update\\\r\nFOUT 5 - Invalid procedure call or argument. Stap 2\r\n"
            "Uitpakken VMU file\r\nResume Next bij fout 5\r\n");
  EXPECT_EQ(w.Label(),
            "Het updatefile [upd.VMU] staat klaar om geïnstalleerd te worden.\r\n\r\n\r\n"
            "Druk op 'Volgende' om het installeren te starten");
  EXPECT_FALSE(w.prefix.Exists("C:\\pakket\\ConversieLog.TXT"));

  // A data folder with a blank reaches the unpacker as one argument, and
  // its program path is quoted.
  w.form->CmdWizard_Click(0);
  w.ctx.folders.DataDir = "C:\\mijn data\\";
  w.prefix.Write("C:\\mijn data\\VM.ini", "");
  w.view.QueueFile("C:\\pakket\\upd.VMU");
  w.form->CmdWizard_Click(1);
  EXPECT_EQ(w.processes.started.back(), "\"C:\\mijn data\\Update\\VMU_ZP.exe\" /auto \"C:\\mijn data\\Update\"");
  w.ctx.folders.ProgramDir = "C:\\mijn data\\";
  w.processes.tasks_end_at_once = false;
  EXPECT_ANY_THROW(w.form->CmdStartApp_Click());  // it ends the wizard
  EXPECT_EQ(w.processes.started.back(), "\"C:\\mijn data\\vm.exe\"");
  w.processes.tasks_end_at_once = true;

  // An unpacker that fails: its reason in the log, the damaged-package
  // message, nothing left in the update folder, back to the first page.
  w.form->CmdWizard_Click(0);
  w.processes.outcome = {1, "", "de reden\nmeer\n"};
  w.view.QueueFile("C:\\pakket\\upd.VMU");
  w.view.QueueAnswer(Answer::Ok);
  w.form->CmdWizard_Click(1);
  EXPECT_NE(w.prefix.Read("C:\\mijn data\\ConversieLog.TXT")
                .find("Updatefile C:\\pakket\\upd.VMU geweigerd: uitpakken mislukt (de reden)\r\n"),
            std::string::npos);
  EXPECT_NE(w.Out().find("text \"Het updatefile [upd.VMU] is beschadigd of onvolledig."), std::string::npos);
  EXPECT_TRUE(w.ctx.fs.ListFiles("C:\\mijn data\\Update\\").empty());
  EXPECT_EQ(w.Text(Control::Label2), "Stap 1 van 3");
}

// A checker that swaps the chosen file for another once it has checked it.
class SwappingChecker : public HostPackageChecker {
 public:
  SwappingChecker(FileSystem& fs, testing::TestPrefix& prefix) : HostPackageChecker(fs), prefix_(prefix) {}
  PackageCheck CopyAndCheck(const std::string& path, const std::string& copy, const std::string& keys) override {
    PackageCheck check = HostPackageChecker::CopyAndCheck(path, copy, keys);
    prefix_.Write(path, "#!/bin/sh\necho kwaadaardig\n");
    return check;
  }

 private:
  testing::TestPrefix& prefix_;
};

TEST(PackageStep, WhatRunsAndWhatIsInstalledIsWhatWasChecked) {
  testing::InstallWizard w;
  SwappingChecker checker(w.ctx.fs, w.prefix);
  w.ctx.packages = &checker;
  const std::string package = testing::SealedPackage("#!/bin/sh\nexit 0\n");
  w.prefix.Write("C:\\pakket\\upd.VMU", package);
  const std::string list = "\"VM.EXE\",1\r\n";
  for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"installatieV2.ini", testing::kFittingManifest},
                                    {"FileList.VML", list},
                                    {"VM.EXE", "nieuw exe"}})
    w.processes.outcome.output += crypto::Sha256Hex(bytes) + " " + std::to_string(bytes.size()) + " " + name + "\n";
  w.view.QueueFile("C:\\pakket\\upd.VMU");
  w.form->CmdWizard_Click(1);
  EXPECT_EQ(w.processes.started.back(), "\"C:\\data\\Update\\VMU_ZP.exe\" /auto C:\\data\\Update");
  EXPECT_EQ(w.prefix.Read("C:\\data\\Update\\VMU_ZP.exe"), package);
  EXPECT_EQ(w.ctx.fs.FileMode("C:\\data\\Update\\VMU_ZP.exe"), 0700);

  // A file changed, added or missing in the update folder after unpacking
  // is refused before anything is read from it.
  w.Unpacked(testing::kFittingManifest, list);
  w.prefix.Write("C:\\data\\Update\\VM.EXE", "kwaad exe");
  w.form->CmdWizard_Click(1);
  EXPECT_EQ(w.prefix.Read("C:\\prog\\VM.EXE"), "oud exe");
  EXPECT_NE(w.Label().find("Het updatefile [upd.VMU] is beschadigd of onvolledig."), std::string::npos);
  EXPECT_NE(w.Log().find("Updatefile upd.VMU geweigerd: C:\\data\\Update\\VM.EXE is gewijzigd na het "
                         "uitpakken\r\n"),
            std::string::npos)
      << w.Log();
}

}  // namespace
}  // namespace vmu
