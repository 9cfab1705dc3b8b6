#include "wizard/frm_conversie.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/program_end.h"
#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

// The frame alone: pages 2 and 3 do nothing unless a test gives them work.
StepWork FrameSteps() {
  StepWork steps = DefaultSteps();
  steps.package_step = nullptr;
  steps.update_step = nullptr;
  return steps;
}

struct Wizard : testing::WizardFixture {
  explicit Wizard(StepWork steps = FrameSteps()) {
    ctx.folders.ProgramDir = "C:\\Program Files\\velmora\\";
    ctx.folders.DataDir = "C:\\data\\";
    prefix.Write("C:\\data\\VM.ini", "[Main]\r\n");
    MakeForm(std::move(steps)).Load();
  }
};

TEST(WizardFrame, LoadShowsTheWelcomePageAndTheButtonsMoveBetweenPages) {
  Wizard w;
  EXPECT_EQ(w.Text(Control::Label2), "Stap 1 van 3");
  EXPECT_EQ(w.Text(Control::Label1_0), "Velmora Update");
  EXPECT_EQ(w.Text(Control::Label3), "");
  EXPECT_EQ(w.Text(Control::Label4), "Velmora Update Programma\r\nVersie " + std::to_string(VMU_VERSION_MAJOR) + "." +
                                         std::to_string(VMU_VERSION_MINOR) + "." + std::to_string(VMU_VERSION_PATCH));
  EXPECT_EQ(w.Text(Control::Label1_1)
                .rfind("Met deze functie installeert u de Velmora update op uw "
                       "computer. \r\n\r\nDeze update is u gestuurd door",
                       0),
            0u);
  EXPECT_FALSE(w.view.Inspect(Control::CmdWizard_0).enabled);
  EXPECT_TRUE(w.view.Inspect(Control::CmdWizard_1).enabled);
  EXPECT_EQ(w.Text(Control::CmdWizard_1), "Volgende >>");

  w.form->CmdWizard_Click(1);
  EXPECT_EQ(w.Text(Control::Label2), "Stap 2 van 3");
  EXPECT_TRUE(w.view.Inspect(Control::CmdWizard_0).enabled);
  w.view.SetEnabled(Control::cmdTurnBack, false);  // as the package step leaves it
  w.form->CmdWizard_Click(0);
  EXPECT_EQ(w.Text(Control::Label2), "Stap 1 van 3");
  EXPECT_TRUE(w.view.Inspect(Control::cmdTurnBack).enabled);
  EXPECT_TRUE(w.view.Inspect(Control::cmdOpenLocation).enabled);

  // Step 4 ends the program at once: the unpacked files are not cleaned up.
  w.prefix.Write("C:\\data\\Update\\VMU_ZP.exe", "x");
  w.form->CmdWizard_Click(1);
  w.form->CmdWizard_Click(1);
  EXPECT_THROW(w.form->CmdWizard_Click(1), ProgramEnded);
  EXPECT_TRUE(w.prefix.Exists("C:\\data\\Update\\VMU_ZP.exe"));
}

TEST(WizardFrame, CancelAndTheCloseBoxAskFirstAndEmptyTheUpdateFolder) {
  Wizard w;
  w.prefix.Write("C:\\data\\Update\\VMU_ZP.exe", "x");
  w.prefix.Write("C:\\data\\Update\\sub\\keep.txt", "y");

  w.view.QueueAnswer(Answer::No);
  w.form->CancelButton_Click();
  EXPECT_NE(w.transcript.str().find("msgbox title \"VM_Update\" text \"U verlaat hiermee het update "
                                    "programma\\r\\n\\r\\nDoorgaan?\" buttons yesno icon none default 1 -> no"),
            std::string::npos);
  w.view.QueueAnswer(Answer::No);
  w.form->Close(CloseMode::User);
  EXPECT_TRUE(w.prefix.Exists("C:\\data\\Update\\VMU_ZP.exe"));
  EXPECT_EQ(w.transcript.str().find("window close"), std::string::npos);

  // Yes closes without a second question; the folder keeps only its subfolder.
  w.view.QueueAnswer(Answer::Yes);
  EXPECT_THROW(w.form->CancelButton_Click(), ProgramEnded);
  EXPECT_FALSE(w.view.AnswersPending());
  EXPECT_FALSE(w.prefix.Exists("C:\\data\\Update\\VMU_ZP.exe"));
  EXPECT_TRUE(w.prefix.Exists("C:\\data\\Update\\sub\\keep.txt"));
  EXPECT_NE(w.transcript.str().find("window close"), std::string::npos);
}

TEST(WizardFrame, AfterAFailureCancelAndTheCloseBoxCloseWithoutAQuestion) {
  Wizard w;
  w.form->state.FailureFlag = true;
  EXPECT_FALSE(w.form->QueryUnload(CloseMode::User));
  EXPECT_THROW(w.form->CancelButton_Click(), ProgramEnded);  // no answer queued, none asked
}

TEST(WizardFrame, AnyOtherErrorEndsOnTheResultPageAndRemovesTheUpdateFolder) {
  StepWork steps = FrameSteps();
  steps.package_step = [](FrmConversie& f) {
    f.press.CurrentAction = "kopieren";
    f.ctx.fs.CopyFile("C:\\nergens\\upd.VMU", "C:\\data\\Update\\VMU_ZP.exe");
  };
  Wizard w(steps);
  w.prefix.Write("C:\\data\\Update\\VMU_ZP.exe", "x");
  w.form->CmdWizard_Click(1);

  std::string result =
      "Er is een fout ontstaan met volgende beschrijving: 76 - Path not foundDe update "
      "heeft nog niet plaats gevonden, u kunt wel verder werken met Velmora";
  EXPECT_EQ(w.form->state.ResultText, result);
  EXPECT_EQ(w.Text(Control::Label1_1), result + testing::kNotDone +
                                           "Als u meerdere versies van Velmora op uw syseem heeft, dan kunt u met de "
                                           "knop 'Open andere programma map' uw andere versies van de update voorzien");
  EXPECT_TRUE(w.view.Inspect(Control::Label1_1).bold);
  EXPECT_FALSE(w.form->state.FailureFlag);
  EXPECT_EQ(w.Text(Control::Label2), "Stap 2 van 3");
  EXPECT_EQ(w.Text(Control::CmdWizard_1), "Stoppen");
  EXPECT_FALSE(w.view.Inspect(Control::CancelButton).visible);
  EXPECT_FALSE(w.prefix.Exists("C:\\data\\Update"));
  EXPECT_EQ(w.Log(),
            "FOUT 76 - Path not found. Stap 2\r\nkopieren\r\nOpruimen installatiefiles\r\n"
            "verwijderen installatiedirectory C:\\data\\Update\r\n");

  // The close box asks again once the failure has been shown.
  w.view.QueueAnswer(Answer::No);
  EXPECT_TRUE(w.form->QueryUnload(CloseMode::User));
}

TEST(WizardFrame, ErrorsDuringInstallationRestoreAndAnUnwritableLogStillReachesTheResultPage) {
  bool restored = false;
  StepWork steps = FrameSteps();
  steps.update_step = [](FrmConversie& f) {
    f.press.Installing = true;
    Raise(kPermissionDenied);
  };
  steps.automatic_restore = [&](FrmConversie& f) {
    restored = true;
    f.state.ResultText = "teruggezet";
  };
  Wizard w(steps);
  w.form->CmdWizard_Click(1);
  w.form->CmdWizard_Click(1);
  EXPECT_TRUE(restored);
  EXPECT_EQ(w.Text(Control::Label1_1).rfind("teruggezet\r\n\r\nDe update is niet uitgevoerd", 0), 0u);

  // A data folder that does not exist: nothing can be logged, the page still shows.
  Wizard u(steps);
  u.ctx.folders.DataDir = "C:\\weg\\";
  u.form->CmdWizard_Click(1);
  u.form->CmdWizard_Click(1);
  EXPECT_EQ(u.Text(Control::CmdWizard_1), "Stoppen");
  EXPECT_FALSE(u.prefix.Exists("C:\\weg"));
}

TEST(WizardFrame, SuccessPageIsPlainAndItsBackButtonReturnsToStepTwo) {
  StepWork steps = FrameSteps();
  steps.update_step = [](FrmConversie& f) { f.ShowResultPage(); };
  Wizard w(steps);
  w.form->CmdWizard_Click(1);
  w.form->CmdWizard_Click(1);
  EXPECT_EQ(w.Text(Control::Label1_1).rfind("De Update is succesvol verlopen\r\n\r\nStart uw nieuwe", 0), 0u);
  EXPECT_FALSE(w.view.Inspect(Control::Label1_1).bold);
  w.form->CmdWizard_Click(0);
  EXPECT_EQ(w.Text(Control::Label2), "Stap 2 van 3");
  EXPECT_EQ(w.Text(Control::CmdWizard_1), "Volgende >>");
}

}  // namespace
}  // namespace vmu
