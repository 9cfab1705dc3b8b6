// The conversion and the table comparison as the wizard runs them, on real
// SQLite files and the headless view: what the window shows, the fields the
// result page reads, and the log lines the wizard adds.
#include "wizard/conversion_step.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "platform/sqlite/sqlite_databases.h"
#include "testing/conversion_files.h"
#include "testing/error_of.h"
#include "testing/failing_databases.h"
#include "testing/wizard_fixture.h"

namespace vmu {
namespace {

using testing::ControlRow;
using testing::kConvDb;
using testing::kDataDir;
using testing::kLockFile;
using testing::kMovedDb;
using testing::kNewDb;
using testing::kOldDb;
using testing::kUpdateDir;

const std::string kStop =
    "Druk op Annuleren om met de conversie te stoppen, u kunt gewoon met uw huidige versie doorwerken";
const std::string kErrorPath = "Er zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: ";

// The wizard window on the conversion's files, its state as the package
// manifest left it.
struct WizardConversion : testing::ConversionFiles, testing::WizardFixture {
  using testing::ConversionFiles::Log;
  using testing::ConversionFiles::prefix;

  WizardConversion() : WizardFixture(ConversionFiles::prefix), databases(prefix.fs()) {
    ctx.folders.ProgramDir = "C:\\Program Files\\velmora\\";
    ctx.folders.DataDir = kDataDir;
    ctx.folders.UpdateIniPath = std::string(kDataDir) + "Update.ini";
    ctx.folders.SetupIniName = testing::kManifestName;
    ctx.databases = &databases;
    WizardState& s = MakeForm().state;
    s.UpdateDir = kUpdateDir;
    s.ConvOldfile = kOldDb;
    s.ConvNewfile = kNewDb;
    s.ConvDatabase = "Conversie.mdb";
    s.ConvDatabasePath = kConvDb;
    s.ConvFromVer = "5.1";
    s.ConvToVer = "5.2";
  }

  void Convert() { ConvertDatabase(*form); }
  ControlState Shown(Control c) { return view.Inspect(c); }
  WizardState& state() { return form->state; }

  SqliteDatabases databases;
};

// Stopped: the flag is up and the wizard's buttons are blocked (or, when the
// user can try again, left to press).
void ExpectStopped(WizardConversion& w, bool blocked = true) {
  EXPECT_TRUE(w.state().FailureFlag);
  EXPECT_EQ(w.state().ButtonsBlocked, blocked);
  EXPECT_EQ(w.Shown(Control::CmdWizard_0).enabled, !blocked);
  EXPECT_EQ(w.Shown(Control::CmdWizard_1).enabled, !blocked);
}

std::string LastLogLine(WizardConversion& w) {
  std::string log = w.Log();
  if (log.size() < 2) return "";
  log.resize(log.size() - 2);
  const std::size_t end = log.rfind("\r\n");
  return end == std::string::npos ? log : log.substr(end + 2);
}

TEST(ConversionStep, TheSettingsAreTheManifestsValuesWithTheFolders) {
  WizardConversion w;
  const ConversionSettings s = ConversionSettingsOf(*w.form);
  EXPECT_EQ(s.ConvOldfile, kOldDb);
  EXPECT_EQ(s.ConvNewfile, kNewDb);
  EXPECT_EQ(s.ConvDatabase, "Conversie.mdb");
  EXPECT_EQ(s.ConvDatabasePath, kConvDb);
  EXPECT_EQ(s.ConvFromVer, "5.1");
  EXPECT_EQ(s.ConvToVer, "5.2");
  EXPECT_EQ(s.DataDir, kDataDir);
  EXPECT_EQ(s.UpdateDir, kUpdateDir);
  EXPECT_EQ(s.SetupIniName, "installatieV2.ini");
}

TEST(ConversionStep, ARefusalSetsItsTextAndTheButtons) {
  {
    WizardConversion w;
    w.Convert();
    EXPECT_EQ(w.state().ResultText,
              "De oude database staat niet op de plaats waar deze wordt verwacht!\r\nDit moet het pad zijn: \r\n"
              "C:\\Velmora\\VM_DBv01.mdb\r\n\r\nNeem contact op met de leverancier als u hem zelf niet kan vinden."
              "\r\n\r\n" +
                  kStop);
    ExpectStopped(w);
    EXPECT_EQ(w.Log(), "");
    EXPECT_EQ(w.Out(), "set CmdWizard(0) enabled false\nset CmdWizard(1) enabled false\n");
  }
  {
    // The user can close the application and try again: the buttons are
    // freed even when blocked before.
    WizardConversion w;
    w.WithMatchingDatabases();
    w.prefix.Write(kLockFile, "");
    w.state().ButtonsBlocked = true;
    w.Convert();
    EXPECT_EQ(w.state().ResultText, "Velmora is niet afgesloten! Sluit af en druk wederom op de knop Volgende\r\n\r\n" +
                                        kStop + " en de conversie op een ander moment weer opstarten");
    ExpectStopped(w, false);
  }
  {
    // A missing new database is told in a message box; the result page
    // keeps its text.
    WizardConversion w;
    w.WithVersion(kOldDb, "'5.1'");
    w.state().ResultText = "eerder";
    w.view.QueueAnswer(Answer::Ok);
    w.Convert();
    EXPECT_EQ(w.Out(),
              "msgbox title \"VM_Update\" text \"De nieuwe database zit niet in de meegeleverde set"
              "\\r\\n\\r\\nNeem contact op met de leverancier\" buttons ok icon none default 1 -> ok\n"
              "set CmdWizard(0) enabled false\nset CmdWizard(1) enabled false\n");
    EXPECT_EQ(w.state().ResultText, "eerder");
    ExpectStopped(w);
  }
  {
    WizardConversion w;
    w.WithVersion(kOldDb, "'5.2'");
    w.WithVersion(kNewDb, "'5.2'");
    w.WithControlRows({});
    w.Convert();
    EXPECT_EQ(w.state().ResultText,
              "U heeft al geconverteerd, uw database heeft al versie 5.2. U kunt dit zien door in Velmora de menuoptie "
              "Help/About te kiezen. Mocht het desondanks toch nog op problemen stuiten, neem dan contact op met de "
              "leverancier\r\n\r\n" +
                  kStop);
    EXPECT_EQ(w.Log(), "Check versie oude database: 5.2 versus te verwachtte versie: 5.1\r\n");
    ExpectStopped(w);
  }
}

TEST(ConversionStep, ASuccessClearsTheFlagOfAnEarlierTryAndLeavesTheRest) {
  WizardConversion w;
  w.WithMatchingDatabases();
  w.state().ResultText = "ongewijzigd";
  w.state().FailureFlag = true;  // from an earlier try
  w.Convert();
  EXPECT_FALSE(w.state().FailureFlag);
  EXPECT_FALSE(w.state().ButtonsBlocked);
  EXPECT_EQ(w.state().ResultText, "ongewijzigd");
  EXPECT_EQ(w.Out().find("CmdWizard"), std::string::npos) << w.Out();
  EXPECT_TRUE(w.prefix.Exists(kMovedDb));
}

TEST(ConversionStep, AnErrorShowsTheErrorTextInRedAndIsLogged) {
  {
    WizardConversion w;
    w.Sql(kOldDb, "CREATE TABLE Tbl_About (Version, CurrentVersion INTEGER); INSERT INTO Tbl_About VALUES ('5.1', 0);");
    w.WithVersion(kNewDb, "'5.2'");
    w.WithControlRows({});
    w.Convert();
    EXPECT_EQ(w.state().ResultText.rfind(kErrorPath + "Either BOF or EOF", 0), 0u) << w.state().ResultText;
    EXPECT_NE(w.state().ResultText.find("\r\nNeem contact op met de leverancier. U kunt wel met Velmora verder "
                                        "werken\r\nExcuus voor het ongemak"),
              std::string::npos);
    EXPECT_EQ(w.Shown(Control::Label1_1).color, TextColor::Red);
    EXPECT_TRUE(w.Shown(Control::Label1_1).bold);
    EXPECT_EQ(w.Log().rfind("Fout: Either BOF or EOF", 0), 0u) << w.Log();
    ExpectStopped(w);
    EXPECT_EQ(w.Out(),
              "set Label1(1) color red\nset Label1(1) bold true\n"
              "set CmdWizard(0) enabled false\nset CmdWizard(1) enabled false\n"
              "set CmdWizard(0) enabled false\nset CmdWizard(1) enabled false\n");
  }
  {
    WizardConversion w;
    w.WithMatchingDatabases();
    w.state().ConvDatabase = "..\\Conversie.mdb";
    w.Convert();
    EXPECT_EQ(w.state().ResultText.rfind(kErrorPath + "Bad file name or number\r\n", 0), 0u);
    EXPECT_EQ(w.Log(), "Fout: Bad file name or number\r\n");
    ExpectStopped(w);
  }
  {
    WizardConversion w;  // without an engine
    w.WithMatchingDatabases();
    w.ctx.databases = nullptr;
    w.Convert();
    EXPECT_TRUE(w.state().FailureFlag);
    EXPECT_EQ(w.Log(), "Fout: ActiveX component can't create object\r\n");
  }
  {
    WizardConversion w;
    w.WithMatchingDatabases();
    w.prefix.Write(kNewDb, "dit is geen database");
    w.Convert();
    ExpectStopped(w);
    EXPECT_EQ(w.state().ResultText.rfind(kErrorPath, 0), 0u);
    EXPECT_EQ(LastLogLine(w).rfind("Fout: ", 0), 0u) << w.Log();
  }
}

TEST(ConversionStep, AnErrorOnTheErrorPathGoesToTheCaller) {
  // The log cannot be written (a folder has its name): the check's log line
  // fails, and so does the error path's own line, which the caller then gets.
  WizardConversion w;
  w.WithMatchingDatabases();
  std::filesystem::create_directories(w.prefix.Host("C:\\Velmora\\ConversieLog.TXT"));
  EXPECT_NE(testing::ErrorOf([&] { w.Convert(); }), 0);
  EXPECT_EQ(w.Shown(Control::Label1_1).color, TextColor::Red);
  EXPECT_TRUE(w.state().FailureFlag);
}

TEST(ConversionStep, AFailureToCloseGoesToTheCallerAfterTheErrorIsShown) {
  WizardConversion w;
  w.WithMatchingDatabases();
  testing::FailingDatabases failing;
  w.ctx.databases = &failing;
  EXPECT_EQ(testing::ErrorOf([&] { w.Convert(); }), testing::kCloseFails);
  EXPECT_EQ(w.state().ResultText.rfind(kErrorPath + "de query mislukt\r\n", 0), 0u) << w.state().ResultText;
  EXPECT_EQ(w.Log(), "Fout: de query mislukt\r\n");
  ExpectStopped(w);
}

TEST(ConversionStep, TheTransferShowsItsProgressOnTheWindow) {
  WizardConversion w;
  w.WithShop();
  w.WithControlRows(w.ShopControl());
  w.view.SetText(Control::Label1_1, "De update wordt nu uitgevoerd. Even geduld aub...");
  w.Convert();
  ASSERT_FALSE(w.state().FailureFlag) << w.state().ResultText;

  const std::string out = w.Out();
  EXPECT_TRUE(
      w.Printed("set Label1(1) text \"De update wordt nu uitgevoerd. Even geduld aub...\\r\\nLet op: de "
                "conversie kan enige tijd duren, soms lijkt het of het programma niet meer reageert maar "
                "dat is niet zo. Wacht totdat het programma heeft aangegeven dat de conversie gereed is. "
                "Werk bij voorbaat niet met uw computer\""));
  // Four control rows: a bar of ten steps, one per row per pass and two at the end.
  EXPECT_NE(out.find("set Pbr max 10\nset Pbr value 0\nset Pbr visible true\n"), std::string::npos) << out;
  EXPECT_NE(out.find("set Pbr value 10\nset Label2 text \"\"\nset Pbr visible false\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("set Pbr value 11"), std::string::npos);
  EXPECT_FALSE(w.Printed("set Label2 text \"Leegmaken Instelling\""));
  EXPECT_TRUE(w.Printed("set Label2 text \"Leegmaken Leeg\"\nredraw"));
  EXPECT_TRUE(w.Printed("set Label2 text \"Overzetten Instelling\"\nredraw\nredraw"));
  EXPECT_TRUE(w.Printed("set CancelButton visible false\nset Pbr value 9\nset Label2 text \"Kopiëren files\"\nredraw"));
  EXPECT_TRUE(w.Printed("notice text \"Klanten\\r\\n\\r\\n3 records\""));
  EXPECT_TRUE(w.Printed("notice text \"Lege tabel\\r\\n\\r\\n0 records\""));
  EXPECT_LT(out.find("Leegmaken Leeg"), out.find("notice text \"Klanten"));
  EXPECT_FALSE(w.Shown(Control::CancelButton).visible);
  EXPECT_FALSE(w.Shown(Control::Pbr).visible);
  EXPECT_EQ(w.Log(), testing::kShopLog);
  EXPECT_TRUE(w.prefix.Exists(kMovedDb));
}

// A long table reports its rows on the status line, after the table's name,
// without moving the bar's steps.
TEST(ConversionStep, ALongTableShowsItsRowsOnTheStatusLine) {
  testing::WizardFixture w;
  WindowDisplay display(w.view);
  display.StartProgress(4);
  display.SetStatus("Overzetten Factuur");
  display.TableProgress(250000, 1500000);
  EXPECT_EQ(w.Text(Control::Label2), "Overzetten Factuur (250000 van 1500000 records)");
  EXPECT_TRUE(w.Printed("set Label2 text \"Overzetten Factuur (250000 van 1500000 records)\"\nredraw"));
  EXPECT_EQ(w.view.ProgressValue(), 0);
  display.SetStatus("Overzetten Klant");
  EXPECT_EQ(w.Text(Control::Label2), "Overzetten Klant");
}

TEST(ConversionStep, AFailingTableLeavesTheBarAndStatusAsTheyWere) {
  WizardConversion w;
  w.WithShop();
  std::vector<ControlRow> control = w.ShopControl();
  control[0].query = "SELECT Nr, Klant, Datum AS Factuurdatum FROM Factuur";
  w.WithControlRows(control);
  w.Convert();

  EXPECT_TRUE(w.state().FailureFlag);
  EXPECT_EQ(w.state().ResultText.rfind(kErrorPath, 0), 0u);
  EXPECT_NE(w.state().ResultText.find("Factuurdatum"), std::string::npos) << w.state().ResultText;
  EXPECT_NE(w.Log().find("Overzetten Factuur\r\nFout: "), std::string::npos) << w.Log();
  EXPECT_EQ(w.Shown(Control::Label1_1).color, TextColor::Red);
  EXPECT_FALSE(w.Shown(Control::CmdWizard_0).enabled);
  EXPECT_FALSE(w.Shown(Control::CmdWizard_1).enabled);
  EXPECT_EQ(w.Shown(Control::Label2).text, "Overzetten Factuur");
  EXPECT_EQ(w.Shown(Control::Pbr).value, 6);
  EXPECT_TRUE(w.Shown(Control::Pbr).visible);
}

TEST(ConversionStep, TheMoveNeverReplacesAFile) {
  WizardConversion w;
  w.WithShop();
  w.WithControlRows(w.ShopControl());
  w.prefix.Write(kMovedDb, "al aanwezig");
  w.Convert();
  EXPECT_TRUE(w.state().FailureFlag);
  EXPECT_EQ(w.Log().substr(w.Log().rfind("Overzetten Leeg")), "Overzetten Leeg\r\nFout: File already exists\r\n");
  EXPECT_EQ(w.prefix.Read(kMovedDb), "al aanwezig");
  EXPECT_EQ(w.Shown(Control::Label2).text, "Kopiëren files");
  EXPECT_FALSE(w.Shown(Control::CmdWizard_1).enabled);
}

TEST(ConversionStep, TheComparisonReportShowsItsMessagesAndWritesTheLog) {
  {
    WizardConversion w;
    w.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Plaats TEXT);");
    w.Sql(kNewDb, "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Woonplaats TEXT);");
    w.WithControlRows({{"Klant", 1, 1, true, "", "", ""}});
    w.view.QueueAnswer(Answer::Ok);
    w.view.QueueAnswer(Answer::Ok);
    CmdCompareTables_Click(*w.form);
    EXPECT_EQ(w.Log(),
              "\r\n****************** Old DB, Table: Klant\r\nNr\r\nNaam\r\nPlaats\r\n"
              "\r\n****************** New DB, Table: Klant\r\nNr\r\nNaam\r\nWoonplaats\r\n");
    EXPECT_EQ(w.Out(),
              "msgbox title \"VM_Update\" text \"Analyse tabellen / OLD vs New op basis van conversie\" "
              "buttons ok icon none default 1 -> ok\n"
              "msgbox title \"VM_Update\" text \"Klaar, zie conversieLog.txt\" buttons ok icon none "
              "default 1 -> ok\n");
    EXPECT_FALSE(w.view.AnswersPending());
  }
  {
    WizardConversion w;
    w.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER);");
    w.Sql(kNewDb, "CREATE TABLE Iets (A INTEGER);");
    w.WithControlRows({{"Klant", 1, 1, true, "", "", ""}});
    w.view.QueueAnswer(Answer::Ok);
    w.view.QueueAnswer(Answer::Ok);
    CmdCompareTables_Click(*w.form);
    EXPECT_NE(w.Out().find("msgbox title \"VM_Update\" text \"no such table: Klant"), std::string::npos) << w.Out();
    EXPECT_EQ(w.Out().find("Klaar, zie conversieLog.txt"), std::string::npos);
  }
}

}  // namespace
}  // namespace vmu
