// The choice of another installation, from a wizard started on a first one.
#include "startup/other_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/script/script_view.h"
#include "platform/program_end.h"
#include "startup/main_module.h"
#include "startup/window_events.h"
#include "testing/fake_processes.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

constexpr const char* kFirst = "C:\\Program Files\\velmora\\";
constexpr const char* kFirstData = "C:\\users\\user\\AppData\\Roaming\\velmora\\";

// A wizard started on the installation under the program-files folder.
struct Started {
  Started() : ctx(prefix.fs(), processes), view(transcript) {
    MakeInstallation(kFirst);
    form = std::make_unique<FrmConversie>(ctx, view);
    Main(*form);
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
  bool Has(const std::string& line) const { return transcript.str().find(line + "\n") != std::string::npos; }

  testing::TestPrefix prefix;
  testing::FakeProcesses processes;
  RunContext ctx;
  std::ostringstream transcript;
  ScriptView view;
  std::unique_ptr<FrmConversie> form;
};

TEST(OtherLocation, CancelledChoiceChangesNothing) {
  Started w;
  const FolderSettings before = w.ctx.folders;
  const std::string label = w.view.Text(Control::Label1_2);
  ASSERT_EQ(before.DataDir, kFirstData);

  w.Choose("");
  EXPECT_TRUE(w.Has("filedialog title \"Zoek de alternatieve map waar VM.EXE in staat\" filter "
                    "\"Velmora programma (VM.EXE)|VM.EXE\" folder \"C:\\\\Program Files\" file "
                    "\"VM.EXE\" -> \"\""))
      << w.transcript.str();
  EXPECT_TRUE(w.Has("msgbox title \"VM_Update\" text \"U heeft geen keuze gemaakt, de locatie blijft "
                    "ongewijzigd\" buttons ok icon none default 1 -> ok"));
  EXPECT_EQ(w.ctx.folders.ProgramDir, before.ProgramDir);
  EXPECT_EQ(w.ctx.folders.DataDir, before.DataDir);
  EXPECT_EQ(w.ctx.folders.UpdateIniPath, before.UpdateIniPath);
  EXPECT_EQ(w.view.Text(Control::Label1_2), label);
  EXPECT_EQ(w.transcript.str().find("set "), std::string::npos);  // the window is untouched

  // A file that does not exist counts as no choice.
  w.Choose("C:\\Nergens\\VM.EXE");
  EXPECT_EQ(w.ctx.folders.ProgramDir, before.ProgramDir);
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
  EXPECT_EQ(w.ctx.folders.ProgramDir, "c:\\program files\\VELMORA-TEST\\");
  EXPECT_EQ(w.ctx.folders.DataDir, "C:\\users\\user\\AppData\\Roaming\\VELMORA-TEST\\");
  EXPECT_EQ(w.ctx.folders.UpdateIniPath, "C:\\users\\user\\AppData\\Roaming\\VELMORA-TEST\\Update.ini");
  EXPECT_EQ(w.ctx.folders.SetupIniName, "installatieV2.ini");
  EXPECT_EQ(w.view.Text(Control::Label1_2),
            "c:\\program files\\VELMORA-TEST\\\r\nC:\\users\\user\\AppData\\Roaming\\VELMORA-TEST\\");
  EXPECT_EQ(w.view.Text(Control::Label1_3), "Programma folder: \r\nData folder: ");
  // Moved out of the VirtualStore, copied from the program folder.
  EXPECT_TRUE(w.prefix.Exists(data + "VM.ini"));
  EXPECT_FALSE(w.prefix.Exists(store + "VM.ini"));
  EXPECT_EQ(w.prefix.Read(data + "VM_DBv01.mdb"), "db");
  EXPECT_TRUE(w.prefix.Exists(second + "VM_DBv01.mdb"));
  EXPECT_NE(w.prefix.Read(data + "VMbackuptool.ini").find("dirfrom=" + w.ctx.folders.DataDir), std::string::npos);

  EXPECT_EQ(w.form->state.Step, 1);
  EXPECT_EQ(w.view.Text(Control::Label2), "Stap 1 van 3");
  EXPECT_EQ(w.view.Text(Control::CmdWizard_1), "Volgende >>");
  EXPECT_FALSE(w.view.Inspect(Control::CmdWizard_0).enabled);
  EXPECT_EQ(w.transcript.str().find("msgbox"), std::string::npos) << w.transcript.str();
}

TEST(OtherLocation, InstallationElsewhereIsItsOwnDataFolder) {
  Started w;
  // C:\Test\velmora seen through drive D:
  const std::string second = "D:\\velmora\\";
  w.MakeInstallation("C:\\Test\\velmora\\");
  std::filesystem::create_directories(w.prefix.prefix() + "/dosdevices");
  std::filesystem::create_directory_symlink(w.prefix.Host("C:\\Test"), w.prefix.prefix() + "/dosdevices/d:");
  w.view.QueueFile(second + "VM.EXE");
  ClickAnyControl(*w.form, Control::cmdOpenLocation);
  EXPECT_EQ(w.ctx.folders.ProgramDir, second);
  EXPECT_EQ(w.ctx.folders.DataDir, second);
  EXPECT_EQ(w.ctx.folders.UpdateIniPath, second + "Update.ini");
  EXPECT_EQ(w.view.Text(Control::Label1_2), second + "\r\n" + second);
  EXPECT_NE(w.prefix.Read("C:\\Test\\velmora\\VMbackuptool.ini").find("dirfrom=D:\\velmora\\\r\n"),
            std::string::npos);
  EXPECT_EQ(w.view.Text(Control::Label2), "Stap 1 van 3");
}

TEST(OtherLocation, MissingDatabaseEndsTheProgram) {
  Started w;
  w.prefix.Write("C:\\Oud\\VM.EXE", "exe");
  w.view.QueueFile("C:\\Oud\\VM.EXE");
  w.view.QueueAnswer(Answer::Ok);  // the database message of the file table
  w.view.QueueAnswer(Answer::Ok);
  EXPECT_THROW(ClickAnyControl(*w.form, Control::cmdOpenLocation), ProgramEnded);
  EXPECT_TRUE(w.Has("msgbox title \"VM_Update\" text \"Velmora updater kan VM_DBv01.mdb niet vinden op "
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
  EXPECT_TRUE(w.Has("msgbox title \"VM_Update\" text \"Type mismatch\" buttons ok icon none default 1 -> ok"))
      << w.transcript.str();
  // What was set before the error stays; the rest is as it was.
  EXPECT_EQ(w.ctx.folders.ProgramDir, "C:\\Kapot\\");
  EXPECT_EQ(w.ctx.folders.DataDir, kFirstData);
  EXPECT_EQ(w.view.Text(Control::Label1_2), std::string(kFirst) + "\r\n" + kFirstData);
}

TEST(OtherLocation, FolderWithoutDriveLetterGoesOnWithoutDataFolder) {
  Started w;
  w.MakeInstallation("C:\\Apps\\velmora\\");
  const std::string cwd = std::filesystem::current_path();
  std::filesystem::current_path(w.prefix.Host("C:\\"));
  w.view.QueueFile("Apps\\velmora\\VM.EXE");
  w.view.QueueAnswer(Answer::Ok);
  ClickAnyControl(*w.form, Control::cmdOpenLocation);
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(w.Has("msgbox title \"VM_Update\" text \"Geen Directory\" buttons ok icon none default 1 -> ok"));
  EXPECT_EQ(w.ctx.folders.DataDir, "");
  EXPECT_EQ(w.ctx.folders.UpdateIniPath, "\\Update.ini");
  EXPECT_EQ(w.view.Text(Control::Label1_2), "Apps\\velmora\\\r\n");
  EXPECT_EQ(w.view.Text(Control::Label2), "Stap 1 van 3");
}

}  // namespace
}  // namespace vmu
