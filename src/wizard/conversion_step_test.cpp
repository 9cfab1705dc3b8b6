// The conversion and the table comparison as the wizard runs them, on real
// SQLite files and the headless view: one case per outcome for the fields the
// result page reads, the buttons and the log line the wizard adds. The texts
// and the transfer's steps are the conversion's, tested there.
#include "wizard/conversion_step.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/sqlite/sqlite_databases.h"
#include "testing/error_of.h"
#include "testing/failing_databases.h"
#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

using testing::kLockFile;
using testing::kMovedDb;
using testing::kNewDb;
using testing::kOldDb;

const std::string kErrorPath = "Er zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: ";

struct WizardConversion : testing::ConversionWizard {
  WizardConversion() : databases(prefix.fs()) { ctx.databases = &databases; }

  void Convert() { ConvertDatabase(*form); }

  SqliteDatabases databases;
};

// The name is checked for being bare there: nothing else here would miss it.
TEST(ConversionStep, TheSettingsAreTheManifestsValuesWithTheFolders) {
  WizardConversion w;
  const ConversionSettings s = ConversionSettingsOf(*w.form);
  EXPECT_EQ((std::vector<std::string>{s.ConvOldfile, s.ConvNewfile, s.ConvDatabase, s.ConvDatabasePath, s.ConvFromVer,
                                      s.ConvToVer, s.DataDir, s.UpdateDir, s.SetupIniName}),
            (std::vector<std::string>{kOldDb, kNewDb, "Conversie.mdb", testing::kConvDb, "5.1", "5.2",
                                      testing::kDataDir, testing::kUpdateDir, "installatieV2.ini"}));
}

TEST(ConversionStep, EachOutcomeSetsTheFieldsTheButtonsAndTheLog) {
  struct Case {
    const char* name;
    std::function<void(WizardConversion&)> arrange;
    bool failure;
    bool blocked;
    std::string result_text_start;  // the whole text when the outcome leaves it
    bool red;
    std::string log_start;
  };
  const Case cases[] = {
      {"refused", [](WizardConversion&) {}, true, true, "De oude database staat niet op de plaats", false, ""},
      // The user can close the application and try again: the buttons are
      // freed even when blocked before.
      {"refused, may try again",
       [](WizardConversion& w) {
         w.WithMatchingDatabases();
         w.prefix.Write(kLockFile, "");
         w.form->state.ButtonsBlocked = true;
       },
       true, false, "Velmora is niet afgesloten!", false, ""},
      // Told in a message box: the result page keeps its text.
      {"refused in a message",
       [](WizardConversion& w) {
         w.WithVersion(kOldDb, "'5.1'");
         w.form->state.ResultText = "eerder";
         w.view.QueueAnswer(Answer::Ok);
       },
       true, true, "eerder", false, ""},
      {"error",
       [](WizardConversion& w) {
         w.Sql(kOldDb, "CREATE TABLE Tbl_About (Version, CurrentVersion INTEGER);");
         w.WithVersion(kNewDb, "'5.2'");
         w.WithControlRows({});
       },
       true, true, kErrorPath + "Either BOF or EOF", true, "Fout: Either BOF or EOF"},
      // A success clears the flag of an earlier try and leaves the text.
      {"converted",
       [](WizardConversion& w) {
         w.WithMatchingDatabases();
         w.form->state.ResultText = "ongewijzigd";
         w.form->state.FailureFlag = true;
       },
       false, false, "ongewijzigd", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WizardConversion w;
    c.arrange(w);
    w.Convert();
    EXPECT_EQ(w.form->state.FailureFlag, c.failure);
    EXPECT_EQ(w.form->state.ButtonsBlocked, c.blocked);
    EXPECT_EQ(w.form->state.ResultText.rfind(c.result_text_start, 0), 0u) << w.form->state.ResultText;
    EXPECT_EQ(w.view.Inspect(Control::Label1_1).color == TextColor::Red, c.red);
    EXPECT_EQ(w.view.Inspect(Control::Label1_1).bold, c.red);
    EXPECT_EQ(w.Log().rfind(c.log_start, 0), 0u) << w.Log();
    EXPECT_EQ(w.view.Inspect(Control::CmdWizard_1).enabled, !c.blocked);
    EXPECT_EQ(w.view.Inspect(Control::CmdWizard_0).enabled, c.failure && !c.blocked);  // disabled on the first page
    // The buttons are set only when the conversion did not go through.
    EXPECT_EQ(w.Out().find("CmdWizard") != std::string::npos, c.failure) << w.Out();
    EXPECT_EQ(w.prefix.Exists(kMovedDb), !c.failure);
  }
}

TEST(ConversionStep, AnErrorOnTheErrorPathGoesToTheCaller) {
  // The log cannot be written (a folder has its name): the check's log line
  // fails, and so does the error path's own line, which the caller then gets.
  WizardConversion w;
  w.WithMatchingDatabases();
  std::filesystem::create_directories(w.prefix.Host("C:\\Velmora\\ConversieLog.TXT"));
  EXPECT_NE(testing::ErrorOf([&] { w.Convert(); }), 0);
  EXPECT_EQ(w.view.Inspect(Control::Label1_1).color, TextColor::Red);
  EXPECT_TRUE(w.form->state.FailureFlag);
}

TEST(ConversionStep, AFailureToCloseGoesToTheCallerAfterTheErrorIsShown) {
  WizardConversion w;
  w.WithMatchingDatabases();
  testing::FailingDatabases failing;
  w.ctx.databases = &failing;
  EXPECT_EQ(testing::ErrorOf([&] { w.Convert(); }), testing::kCloseFails);
  EXPECT_EQ(w.form->state.ResultText.rfind(kErrorPath + "de query mislukt\r\n", 0), 0u) << w.form->state.ResultText;
  EXPECT_EQ(w.Log(), "Fout: de query mislukt\r\n");
  EXPECT_FALSE(w.view.Inspect(Control::CmdWizard_1).enabled);
}

// The window as the conversion's display; a long table reports its rows on
// the status line, after the table's name, without moving the bar.
TEST(ConversionStep, TheWindowShowsTheConversionsProgress) {
  testing::WizardFixture w;
  WindowDisplay display(w.view);
  w.view.SetText(Control::Label1_1, "Bezig");
  display.AddToMainText("Let op");
  display.StartProgress(4);
  display.StepProgress();
  display.SetStatus("Overzetten Factuur");
  display.TableProgress(250000, 1500000);
  display.PrepareNotice();
  display.ShowNotice("Klanten");
  display.HideCancel();
  display.HideProgress();
  EXPECT_EQ(w.Out(),
            "set Label1(1) text \"Bezig\"\nset Label1(1) text \"Bezig\\r\\nLet op\"\n"
            "set Pbr max 4\nset Pbr value 0\nset Pbr visible true\nset Pbr value 1\n"
            "set Label2 text \"Overzetten Factuur\"\n"
            "set Label2 text \"Overzetten Factuur (250000 van 1500000 records)\"\nredraw\n"
            "notice text \"Klanten\"\nset CancelButton visible false\nset Pbr visible false\n");
}

TEST(ConversionStep, TheComparisonReportShowsItsMessagesAndWritesTheLog) {
  WizardConversion w;
  w.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER);");
  w.Sql(kNewDb, "CREATE TABLE Klant (Nr INTEGER);");
  w.WithControlRows({{"Klant", 1, 1, true, "", "", ""}});
  w.view.QueueAnswer(Answer::Ok);
  w.view.QueueAnswer(Answer::Ok);
  CmdCompareTables_Click(*w.form);
  // The report's text is compare_tables_test's; here it reaches the log and a message box.
  EXPECT_NE(w.Log().find("****************** New DB, Table: Klant\r\nNr\r\n"), std::string::npos) << w.Log();
  EXPECT_TRUE(w.Printed(
      "msgbox title \"VM_Update\" text \"Klaar, zie conversieLog.txt\" buttons ok icon none default 1 -> ok"));
  EXPECT_FALSE(w.view.AnswersPending());
}

}  // namespace
}  // namespace vmu
