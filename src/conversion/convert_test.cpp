// The conversion's checks, error path and exit, on real SQLite files.
#include "conversion/convert.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "conversion/conversion_test_env.h"
#include "testing/error_of.h"

namespace vmu {
namespace {

using testing::ConversionEnv;
using testing::kConvDb;
using testing::kLockFile;
using testing::kNewDb;
using testing::kOldDb;

const std::string kStop =
    "Druk op Annuleren om met de conversie te stoppen, u kunt gewoon met uw huidige versie doorwerken";

std::string LastLogLine(ConversionEnv& e) {
  std::string log = e.Log();
  if (log.size() < 2) return "";
  log.resize(log.size() - 2);
  const std::size_t end = log.rfind("\r\n");
  return end == std::string::npos ? log : log.substr(end + 2);
}

void ExpectButtons(ConversionEnv& e, bool enabled) {
  EXPECT_EQ(e.Shown(Control::CmdWizard_0).enabled, enabled);
  EXPECT_EQ(e.Shown(Control::CmdWizard_1).enabled, enabled);
}

TEST(Convert, MissingFilesAndTheOpenApplicationAreRefusedBeforeAnyDatabaseIsOpened) {
  {
    ConversionEnv e;
    e.prefix.Write(kLockFile, "");  // not looked at: the old database comes first
    e.state().FailureFlag = true;
    e.Convert();
    EXPECT_EQ(e.state().ResultText,
              "De oude database staat niet op de plaats waar deze wordt verwacht!\r\nDit moet het pad zijn: \r\n"
              "C:\\Velmora\\VM_DBv01.mdb\r\n\r\nNeem contact op met de leverancier als u hem zelf niet kan vinden."
              "\r\n\r\n" + kStop);
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_TRUE(e.state().ButtonsBlocked);
    ExpectButtons(e, false);
    EXPECT_EQ(e.Log(), "");
  }
  {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.prefix.Write(kLockFile, "");
    e.state().ButtonsBlocked = true;
    e.Convert();
    EXPECT_EQ(e.state().ResultText,
              "Velmora is niet afgesloten! Sluit af en druk wederom op de knop Volgende\r\n\r\n" + kStop +
                  " en de conversie op een ander moment weer opstarten");
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_FALSE(e.state().ButtonsBlocked);
    ExpectButtons(e, true);
    EXPECT_EQ(e.state().OldConn, nullptr);
  }
  {
    ConversionEnv e;
    e.WithVersion(kOldDb, "'5.1'");
    e.state().ResultText = "eerder";
    e.view.QueueAnswer(Answer::Ok);
    e.Convert();
    EXPECT_TRUE(e.Printed(
        "msgbox title \"VM_Update\" text \"De nieuwe database zit niet in de meegeleverde set\\r\\n\\r\\nNeem "
        "contact op met de leverancier\" buttons ok icon none default 1 -> ok"))
        << e.Out();
    EXPECT_EQ(e.state().ResultText, "eerder");
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_TRUE(e.state().ButtonsBlocked);
    ExpectButtons(e, false);
    EXPECT_EQ(e.state().OldConn, nullptr);
  }
}

TEST(Convert, VersionsAreComparedAsTextAndAMissingValuePasses) {
  {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.state().ResultText = "ongewijzigd";
    e.state().FailureFlag = true;  // from an earlier try
    e.Convert();
    EXPECT_FALSE(e.state().FailureFlag) << e.state().ResultText;
    EXPECT_EQ(e.state().ResultText, "ongewijzigd");
    EXPECT_EQ(e.Log(),
              "Check versie oude database: 5.1 versus te verwachtte versie: 5.1\r\n"
              "Check versie nieuwe database: 5.2 versus te verwachtte versie: 5.2\r\n");
  }
  {
    // Numbers in their usual text form; a null version matches anything.
    ConversionEnv e;
    e.WithVersion(kOldDb, "NULL");
    e.WithVersion(kNewDb, "5.2");
    e.WithControlRows({});
    e.Convert();
    EXPECT_FALSE(e.state().FailureFlag) << e.state().ResultText;
    EXPECT_EQ(e.Log(),
              "Check versie oude database:  versus te verwachtte versie: 5.1\r\n"
              "Check versie nieuwe database: 5.2 versus te verwachtte versie: 5.2\r\n");
  }
  {
    ConversionEnv e;
    e.WithVersion(kOldDb, "5");
    e.WithVersion(kNewDb, "'5.2'");
    e.WithControlRows({});
    e.state().ConvFromVer = "5";
    e.Convert();
    EXPECT_FALSE(e.state().FailureFlag) << e.state().ResultText;
  }
}

TEST(Convert, WrongVersionsAreRefusedWithTheirTexts) {
  {
    ConversionEnv e;
    e.WithVersion(kOldDb, "'5.2'");
    e.WithVersion(kNewDb, "'5.2'");
    e.WithControlRows({});
    const std::string before = e.prefix.Read(kOldDb);
    e.Convert();
    EXPECT_EQ(e.prefix.Read(kOldDb), before);
    EXPECT_EQ(e.state().ResultText,
              "U heeft al geconverteerd, uw database heeft al versie 5.2. U kunt dit zien door in Velmora de "
              "menuoptie Help/About te kiezen. Mocht het desondanks toch nog op problemen stuiten, neem dan "
              "contact op met de leverancier\r\n\r\n" + kStop);
    EXPECT_EQ(e.Log(), "Check versie oude database: 5.2 versus te verwachtte versie: 5.1\r\n");
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_TRUE(e.state().ButtonsBlocked);
    ExpectButtons(e, false);
    EXPECT_FALSE(e.state().OldConn->IsOpen());
    EXPECT_FALSE(e.state().NewConn->IsOpen());
    EXPECT_FALSE(e.state().ConvConn->IsOpen());
  }
  {
    // 5.10 is not 5.1: text, not number.
    ConversionEnv e;
    e.WithVersion(kOldDb, "'5.10'");
    e.WithVersion(kNewDb, "'5.2'");
    e.WithControlRows({});
    e.Convert();
    EXPECT_EQ(e.state().ResultText,
              "De huidige versie van het programma bestand (de database) is niet de juiste voor deze conversie: u "
              "heeft versie :5.10 en dit had moeten zijn: 5.1. Als uw versie lager is dan verwacht, dient u eerst "
              "een eerdere conversie te draaien, is uw versie hoger dan heeft u een oud conversieprogramma "
              "opgestart\r\n\r\n" + kStop);
    EXPECT_TRUE(e.state().ButtonsBlocked);
  }
  {
    ConversionEnv e;
    e.WithVersion(kOldDb, "'5.1'");
    e.WithVersion(kNewDb, "'5.3'");
    e.WithControlRows({});
    e.Convert();
    EXPECT_EQ(e.state().ResultText,
              "Er is een fout geconstateerd bij de nieuw opgestuurde database, het versienummer zou moeten zijn: "
              "5.2, dit is echter 5.3\r\nExcuus voor deze overlast, neemt u z.s.m. contact op met de "
              "leverancier\r\n\r\n" + kStop);
    EXPECT_EQ(e.Log(),
              "Check versie oude database: 5.1 versus te verwachtte versie: 5.1\r\n"
              "Check versie nieuwe database: 5.3 versus te verwachtte versie: 5.2\r\n");
    EXPECT_TRUE(e.state().FailureFlag);
    ExpectButtons(e, false);
  }
}

TEST(Convert, AMissingVersionRowTakesTheErrorPath) {
  ConversionEnv e;
  e.Sql(kOldDb, "CREATE TABLE Tbl_About (Version, CurrentVersion INTEGER); INSERT INTO Tbl_About VALUES ('5.1', 0);");
  e.WithVersion(kNewDb, "'5.2'");
  e.WithControlRows({});
  const std::string before = e.prefix.Read(kOldDb);
  e.Convert();
  EXPECT_EQ(e.state().ResultText.rfind(
                "Er zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: Either BOF or EOF", 0),
            0u)
      << e.state().ResultText;
  EXPECT_NE(e.state().ResultText.find(
                "\r\nNeem contact op met de leverancier. U kunt wel met Velmora verder werken\r\nExcuus voor het ongemak"),
            std::string::npos);
  EXPECT_EQ(e.Shown(Control::Label1_1).color, TextColor::Red);
  EXPECT_TRUE(e.Shown(Control::Label1_1).bold);
  EXPECT_EQ(e.Log().rfind("Fout: Either BOF or EOF", 0), 0u) << e.Log();
  EXPECT_TRUE(e.state().FailureFlag);
  EXPECT_TRUE(e.state().ButtonsBlocked);
  ExpectButtons(e, false);
  EXPECT_FALSE(e.state().OldConn->IsOpen());
  EXPECT_EQ(e.prefix.Read(kOldDb), before);
}

TEST(Convert, DatabaseNamesMustBeBareFileNames) {
  struct Case {
    std::string old_file, new_file, conv_database;
  };
  const std::vector<Case> cases = {
      {"C:\\Velmora\\sub\\VM_DBv01.mdb", kNewDb, "Conversie.mdb"},
      {"C:\\Velmora\\..", kNewDb, "Conversie.mdb"},
      {kOldDb, "C:\\Velmora\\Update\\C:\\elders\\VM.mdb", "Conversie.mdb"},
      {kOldDb, kNewDb, "..\\Conversie.mdb"},
      {kOldDb, kNewDb, "\\Conversie.mdb"},
  };
  for (const Case& c : cases) {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.state().ConvOldfile = c.old_file;
    e.state().ConvNewfile = c.new_file;
    e.state().ConvDatabase = c.conv_database;
    e.state().ConvDatabasePath = std::string(testing::kUpdateDir) + c.conv_database;
    e.Convert();
    EXPECT_EQ(e.state().ResultText.rfind(
                  "Er zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: Bad file name or "
                  "number\r\n",
                  0),
              0u)
        << c.old_file << " " << c.new_file << " " << c.conv_database;
    EXPECT_EQ(e.Log(), "Fout: Bad file name or number\r\n");
    EXPECT_EQ(e.state().OldConn, nullptr);
  }
}

TEST(Convert, BadDatabasesEndOnTheErrorPathAndLeaveTheOldOneAlone) {
  // Without an engine, and with a conversion database that is no database,
  // an empty file or a truncated one: the connections this call opened are
  // closed again and the old file keeps every byte.
  std::vector<std::string> conversion_files = {"dit is geen database, maar gewoon tekst", ""};
  {
    ConversionEnv e;
    e.WithMatchingDatabases();
    std::string whole = e.prefix.Read(kConvDb);
    conversion_files.push_back(whole.substr(0, whole.size() / 2));
  }
  for (const std::string& bytes : conversion_files) {
    ConversionEnv e;
    e.WithVersion(kOldDb, "'5.1'");
    e.WithVersion(kNewDb, "'5.2'");
    e.prefix.Write(kConvDb, bytes);
    const std::string before = e.prefix.Read(kOldDb);
    e.Convert();
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_EQ(e.state().ResultText.rfind("Er zijn fouten geconstateerd", 0), 0u) << e.state().ResultText;
    EXPECT_EQ(LastLogLine(e).rfind("Fout: ", 0), 0u) << e.Log();
    EXPECT_FALSE(e.state().OldConn->IsOpen());
    EXPECT_FALSE(e.state().NewConn->IsOpen());
    EXPECT_EQ(e.prefix.Read(kOldDb), before);
  }
  {
    // The user's database is no database of this engine, or another program
    // holds it locked.
    for (bool locked : {false, true}) {
      ConversionEnv e;
      e.WithMatchingDatabases();
      if (!locked) e.prefix.Write(kOldDb, std::string("Standard Jet DB\0\x01\x02", 18));
      sqlite3* holder = nullptr;
      if (locked) {
        sqlite3_open(e.prefix.Host(kOldDb).c_str(), &holder);
        sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
      }
      const std::string before = e.prefix.Read(kOldDb);
      e.Convert();
      sqlite3_close(holder);
      EXPECT_TRUE(e.state().FailureFlag);
      EXPECT_EQ(LastLogLine(e).rfind("Fout: ", 0), 0u) << e.Log();
      EXPECT_NE(e.state().ResultText.find(locked ? "locked" : "not a database"), std::string::npos)
          << e.state().ResultText;
      EXPECT_EQ(e.prefix.Read(kOldDb), before);
    }
  }
  {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.ctx.databases = nullptr;
    e.Convert();
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_EQ(e.Log(), "Fout: ActiveX component can't create object\r\n");
  }
}

TEST(Convert, AnErrorOnTheErrorPathGoesToTheCaller) {
  // The log cannot be written (a folder has its name): the check's log line
  // fails, and so does the error path's own line, which the caller then gets.
  ConversionEnv e;
  e.WithMatchingDatabases();
  std::filesystem::create_directories(e.prefix.Host("C:\\Velmora\\ConversieLog.TXT"));
  EXPECT_NE(testing::ErrorOf([&] { e.Convert(); }), 0);
  EXPECT_EQ(e.Shown(Control::Label1_1).color, TextColor::Red);
  EXPECT_TRUE(e.state().FailureFlag);
}

}  // namespace
}  // namespace vmu
