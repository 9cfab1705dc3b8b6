// The choice of another installation, from a wizard started on a first one.
#include "startup/other_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/program_end.h"
#include "startup/main_module.h"
#include "startup/window_events.h"
#include "testing/wizard_fixture.h"

namespace vmu {
namespace {

constexpr const char* kFirst = "C:\\Program Files\\velmora\\";
constexpr const char* kFirstData = "C:\\users\\user\\AppData\\Roaming\\velmora\\";

// A wizard started on the installation under the program-files folder.
struct Started : testing::WizardFixture {
  Started() {
    MakeInstallation(kFirst);
    Main(MakeForm());
    transcript.str("");
  }
  void MakeInstallation(const std::string& folder) {
    prefix.Write(folder + "VM.EXE", "exe");
    prefix.Write(folder + "VM_DBv01.mdb", "db");
    prefix.Write(folder + "RptDB97.mdb", "rpt");
  }
  // Presses the button as the user does, with the dialog's answer queued.
  void Choose(const std::string& file) {
    view.QueueFile(file);
    view.QueueAnswer(Answer::Ok);  // for a message, if one comes
    ClickAnyControl(*form, Control::cmdOpenLocation);
  }
  std::string Folders() const {
    return ctx.folders.ProgramDir + "|" + ctx.folders.DataDir + "|" + ctx.folders.UpdateIniPath;
  }
};

TEST(OtherLocation, CancelledChoiceChangesNothing) {
  Started w;
  const std::string before = w.Folders();
  ASSERT_EQ(w.ctx.folders.DataDir, kFirstData);
  w.Choose("");
  EXPECT_TRUE(
      w.Printed("filedialog title \"Zoek de alternatieve map waar VM.EXE in staat\" filter "
                "\"Velmora programma (VM.EXE)|VM.EXE\" folder \"C:\\\\Program Files\" file \"VM.EXE\" -> \"\""))
      << w.transcript.str();
  EXPECT_TRUE(
      w.Printed("msgbox title \"VM_Update\" text \"U heeft geen keuze gemaakt, de locatie blijft "
                "ongewijzigd\" buttons ok icon none default 1 -> ok"));
  EXPECT_EQ(w.Folders(), before);
  EXPECT_EQ(w.transcript.str().find("set "), std::string::npos);  // the window is untouched
  EXPECT_FALSE(w.view.AnswersPending());
}

TEST(OtherLocation, InstallationUnderProgramFilesIsMigratedAndTheWizardRestarts) {
  Started w;
  const std::string second = "C:\\Program Files\\velmora-test\\";
  const std::string store = "C:\\users\\user\\AppData\\Local\\VirtualStore\\Program Files\\velmora-test\\";
  // The data folder takes the program folder's name as the user typed it.
  const std::string data = "C:\\users\\user\\AppData\\Roaming\\VELMORA-TEST\\";
  w.MakeInstallation(second);
  w.prefix.Write(store + "VM.ini", "[Main]\r\nVersion=10302\r\n");
  // As on the result page of an update.
  w.form->state.Step = 3;
  w.view.SetText(Control::CmdWizard_1, "Stoppen");
  w.ctx.folders.SetupIniName = "installatie.ini";

  w.view.QueueFile("c:\\program files\\VELMORA-TEST\\vm.exe");
  ClickAnyControl(*w.form, Control::cmdOpenLocation);
  EXPECT_EQ(w.Folders(), "c:\\program files\\VELMORA-TEST\\|" + data + "|" + data + "Update.ini");
  EXPECT_EQ(w.ctx.folders.SetupIniName, "installatieV2.ini");
  EXPECT_EQ(w.Text(Control::Label1_2), "c:\\program files\\VELMORA-TEST\\\r\n" + data);
  // Migrated as at start-up.
  EXPECT_TRUE(w.prefix.Exists(data + "VM.ini"));
  EXPECT_FALSE(w.prefix.Exists(store + "VM.ini"));

  EXPECT_EQ(w.form->state.Step, 1);
  EXPECT_EQ(w.Text(Control::Label2), "Stap 1 van 3");
  EXPECT_EQ(w.Text(Control::CmdWizard_1), "Volgende >>");
  EXPECT_FALSE(w.view.Inspect(Control::CmdWizard_0).enabled);
  EXPECT_EQ(w.transcript.str().find("msgbox"), std::string::npos) << w.transcript.str();
}

TEST(OtherLocation, MissingDatabaseEndsTheProgram) {
  Started w;
  w.prefix.Write("C:\\Oud\\VM.EXE", "exe");
  w.view.QueueAnswer(Answer::Ok);  // the database message of the file table
  EXPECT_THROW(w.Choose("C:\\Oud\\VM.EXE"), ProgramEnded);
  EXPECT_TRUE(
      w.Printed("msgbox title \"VM_Update\" text \"Velmora updater kan VM_DBv01.mdb niet vinden op "
                "deze lokatie en wordt nu afgesloten. Neem contact op met uw leverancier\" buttons "
                "ok icon none default 1 -> ok"))
      << w.transcript.str();
  EXPECT_FALSE(w.view.AnswersPending());
  // The backup list there is still brought up to date.
  EXPECT_TRUE(w.prefix.Exists("C:\\Oud\\VMbackuptool.ini"));
}

TEST(OtherLocation, OtherErrorsAreShownAndTheProgramGoesOn) {
  Started w;
  w.MakeInstallation("C:\\Kapot\\");
  w.prefix.Write("C:\\Kapot\\VMbackuptool.ini", "[Basic settings]\r\nAantalFiles=veel\r\n");
  w.Choose("C:\\Kapot\\VM.EXE");
  EXPECT_TRUE(w.Printed("msgbox title \"VM_Update\" text \"Type mismatch\" buttons ok icon none default 1 -> ok"))
      << w.transcript.str();
  // What was set before the error stays; the rest is as it was.
  EXPECT_EQ(w.ctx.folders.ProgramDir, "C:\\Kapot\\");
  EXPECT_EQ(w.ctx.folders.DataDir, kFirstData);
  EXPECT_EQ(w.Text(Control::Label1_2), std::string(kFirst) + "\r\n" + kFirstData);
}

TEST(OtherLocation, FolderWithoutDriveLetterGoesOnWithoutDataFolder) {
  Started w;
  w.MakeInstallation("C:\\Apps\\velmora\\");
  const std::string cwd = std::filesystem::current_path();
  std::filesystem::current_path(w.prefix.Host("C:\\"));
  w.Choose("Apps\\velmora\\VM.EXE");
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(w.Printed("msgbox title \"VM_Update\" text \"Geen Directory\" buttons ok icon none default 1 -> ok"));
  EXPECT_EQ(w.Folders(), "Apps\\velmora\\||\\Update.ini");
  EXPECT_EQ(w.Text(Control::Label1_2), "Apps\\velmora\\\r\n");
  EXPECT_EQ(w.Text(Control::Label2), "Stap 1 van 3");
}

}  // namespace
}  // namespace vmu
