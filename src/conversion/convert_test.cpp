// The conversion's checks, error path and exit, on real SQLite files.
#include "conversion/convert.h"

#include <gtest/gtest.h>

#include <array>
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
const std::string kErrorPath = "Er zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: ";

// Stopped: the flag is up and the wizard's buttons are blocked (or, when the
// user can try again, left to press).
void ExpectStopped(ConversionEnv& e, bool blocked = true) {
  EXPECT_TRUE(e.state().FailureFlag);
  EXPECT_EQ(e.state().ButtonsBlocked, blocked);
  EXPECT_EQ(e.Shown(Control::CmdWizard_0).enabled, !blocked);
  EXPECT_EQ(e.Shown(Control::CmdWizard_1).enabled, !blocked);
}

std::string LastLogLine(ConversionEnv& e) {
  std::string log = e.Log();
  if (log.size() < 2) return "";
  log.resize(log.size() - 2);
  const std::size_t end = log.rfind("\r\n");
  return end == std::string::npos ? log : log.substr(end + 2);
}

// Every connection the call opened is closed again.
void ExpectClosed(ConversionEnv& e) {
  for (const std::unique_ptr<Connection>* c : {&e.state().OldConn, &e.state().NewConn, &e.state().ConvConn})
    EXPECT_TRUE(!*c || !(*c)->IsOpen());
}

TEST(Convert, MissingFilesAndTheOpenApplicationAreRefusedBeforeAnyDatabaseIsOpened) {
  {
    ConversionEnv e;
    e.prefix.Write(kLockFile, "");  // not looked at: the old database comes first
    e.Convert();
    EXPECT_EQ(e.state().ResultText,
              "De oude database staat niet op de plaats waar deze wordt verwacht!\r\nDit moet het pad zijn: \r\n"
              "C:\\Velmora\\VM_DBv01.mdb\r\n\r\nNeem contact op met de leverancier als u hem zelf niet kan vinden."
              "\r\n\r\n" + kStop);
    ExpectStopped(e);
    EXPECT_EQ(e.Log(), "");
  }
  {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.prefix.Write(kLockFile, "");
    e.state().ButtonsBlocked = true;
    e.Convert();
    EXPECT_EQ(e.state().ResultText, "Velmora is niet afgesloten! Sluit af en druk wederom op de knop Volgende\r\n\r\n" +
                                        kStop + " en de conversie op een ander moment weer opstarten");
    ExpectStopped(e, false);
    EXPECT_EQ(e.state().OldConn, nullptr);
  }
  {
    ConversionEnv e;
    e.WithVersion(kOldDb, "'5.1'");
    e.state().ResultText = "eerder";
    e.view.QueueAnswer(Answer::Ok);
    e.Convert();
    EXPECT_TRUE(e.Printed("msgbox title \"VM_Update\" text \"De nieuwe database zit niet in de meegeleverde set"
                          "\\r\\n\\r\\nNeem contact op met de leverancier\" buttons ok icon none default 1 -> ok"))
        << e.Out();
    EXPECT_EQ(e.state().ResultText, "eerder");
    ExpectStopped(e);
    EXPECT_EQ(e.state().OldConn, nullptr);
  }
}

TEST(Convert, VersionsAreComparedAsTextAndWrongOnesAreRefusedWithTheirTexts) {
  struct Case {
    const char *old_version, *new_version, *from;
    std::string result;  // empty: the check passes
    std::string log;
  };
  const std::string checked_old = "Check versie oude database: 5.1 versus te verwachtte versie: 5.1\r\n";
  const std::string checked_new = "Check versie nieuwe database: 5.2 versus te verwachtte versie: 5.2\r\n";
  const Case cases[] = {
      {"'5.1'", "'5.2'", "5.1", "", checked_old + checked_new},
      // A null version matches anything; numbers in their usual text form.
      {"NULL", "5.2", "5.1", "", "Check versie oude database:  versus te verwachtte versie: 5.1\r\n" + checked_new},
      {"5", "'5.2'", "5", "", "Check versie oude database: 5 versus te verwachtte versie: 5\r\n" + checked_new},
      {"'5.2'", "'5.2'", "5.1",
       "U heeft al geconverteerd, uw database heeft al versie 5.2. U kunt dit zien door in Velmora de menuoptie "
       "Help/About te kiezen. Mocht het desondanks toch nog op problemen stuiten, neem dan contact op met de "
       "leverancier\r\n\r\n" + kStop,
       "Check versie oude database: 5.2 versus te verwachtte versie: 5.1\r\n"},
      // 5.10 is not 5.1: text, not number.
      {"'5.10'", "'5.2'", "5.1",
       "De huidige versie van het programma bestand (de database) is niet de juiste voor deze conversie: u heeft "
       "versie :5.10 en dit had moeten zijn: 5.1. Als uw versie lager is dan verwacht, dient u eerst een eerdere "
       "conversie te draaien, is uw versie hoger dan heeft u een oud conversieprogramma opgestart\r\n\r\n" + kStop,
       "Check versie oude database: 5.10 versus te verwachtte versie: 5.1\r\n"},
      {"'5.1'", "'5.3'", "5.1",
       "Er is een fout geconstateerd bij de nieuw opgestuurde database, het versienummer zou moeten zijn: 5.2, dit "
       "is echter 5.3\r\nExcuus voor deze overlast, neemt u z.s.m. contact op met de leverancier\r\n\r\n" + kStop,
       checked_old + "Check versie nieuwe database: 5.3 versus te verwachtte versie: 5.2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.old_version + std::string(" ") + c.new_version);
    ConversionEnv e;
    e.WithVersion(kOldDb, c.old_version);
    e.WithVersion(kNewDb, c.new_version);
    e.WithControlRows({});
    e.state().ConvFromVer = c.from;
    e.state().ResultText = "ongewijzigd";
    e.state().FailureFlag = true;  // from an earlier try
    const std::string before = e.prefix.Read(kOldDb);
    e.Convert();
    EXPECT_EQ(e.state().ResultText, c.result.empty() ? "ongewijzigd" : c.result);
    EXPECT_EQ(e.Log(), c.log);
    if (c.result.empty()) {
      EXPECT_FALSE(e.state().FailureFlag);
      EXPECT_FALSE(e.state().ButtonsBlocked);
      continue;
    }
    ExpectStopped(e);
    ExpectClosed(e);
    EXPECT_EQ(e.prefix.Read(kOldDb), before);
  }
}

TEST(Convert, AMissingVersionRowTakesTheErrorPath) {
  ConversionEnv e;
  e.Sql(kOldDb, "CREATE TABLE Tbl_About (Version, CurrentVersion INTEGER); INSERT INTO Tbl_About VALUES ('5.1', 0);");
  e.WithVersion(kNewDb, "'5.2'");
  e.WithControlRows({});
  const std::string before = e.prefix.Read(kOldDb);
  e.Convert();
  EXPECT_EQ(e.state().ResultText.rfind(kErrorPath + "Either BOF or EOF", 0), 0u) << e.state().ResultText;
  EXPECT_NE(e.state().ResultText.find(
                "\r\nNeem contact op met de leverancier. U kunt wel met Velmora verder werken\r\nExcuus voor het ongemak"),
            std::string::npos);
  EXPECT_EQ(e.Shown(Control::Label1_1).color, TextColor::Red);
  EXPECT_TRUE(e.Shown(Control::Label1_1).bold);
  EXPECT_EQ(e.Log().rfind("Fout: Either BOF or EOF", 0), 0u) << e.Log();
  ExpectStopped(e);
  ExpectClosed(e);
  EXPECT_EQ(e.prefix.Read(kOldDb), before);
}

TEST(Convert, DatabaseNamesMustBeBareFileNames) {
  const std::string o = kOldDb, n = kNewDb, c = "Conversie.mdb";
  const std::vector<std::array<std::string, 3>> cases = {{"C:\\Velmora\\sub\\VM_DBv01.mdb", n, c},
                                                         {"C:\\Velmora\\..", n, c},
                                                         {o, "C:\\Velmora\\Update\\C:\\elders\\VM.mdb", c},
                                                         {o, n, "..\\Conversie.mdb"}, {o, n, "\\Conversie.mdb"}};
  for (const auto& [old_file, new_file, conv_database] : cases) {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.state().ConvOldfile = old_file;
    e.state().ConvNewfile = new_file;
    e.state().ConvDatabase = conv_database;
    e.state().ConvDatabasePath = std::string(testing::kUpdateDir) + conv_database;
    e.Convert();
    EXPECT_EQ(e.state().ResultText.rfind(kErrorPath + "Bad file name or number\r\n", 0), 0u)
        << old_file << " " << new_file << " " << conv_database;
    EXPECT_EQ(e.Log(), "Fout: Bad file name or number\r\n");
    EXPECT_EQ(e.state().OldConn, nullptr);
  }
}

TEST(Convert, BadDatabasesEndOnTheErrorPathAndLeaveTheOldOneAlone) {
  // A conversion database that is no database, an empty file or a truncated
  // one; a user's database of another engine, or one another program holds
  // locked.
  std::string truncated;
  {
    ConversionEnv e;
    e.WithMatchingDatabases();
    truncated = e.prefix.Read(kConvDb);
    truncated.resize(truncated.size() / 2);
  }
  struct Damage {
    std::string path, bytes;
    bool locked = false;
  };
  const Damage damages[] = {{kConvDb, "dit is geen database, maar gewoon tekst"}, {kConvDb, ""}, {kConvDb, truncated},
                            {kOldDb, std::string("Standard Jet DB\0\x01\x02", 18)}, {kOldDb, "", true}};
  for (const Damage& d : damages) {
    ConversionEnv e;
    e.WithMatchingDatabases();
    sqlite3* holder = nullptr;
    if (!d.locked) {
      e.prefix.Write(d.path, d.bytes);
    } else {
      sqlite3_open(e.prefix.Host(kOldDb).c_str(), &holder);
      sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
    const std::string before = e.prefix.Read(kOldDb);
    e.Convert();
    sqlite3_close(holder);
    SCOPED_TRACE(e.state().ResultText);
    ExpectStopped(e);
    ExpectClosed(e);
    EXPECT_EQ(e.state().ResultText.rfind(kErrorPath, 0), 0u);
    EXPECT_EQ(LastLogLine(e).rfind("Fout: ", 0), 0u) << e.Log();
    if (d.path == kOldDb) {
      EXPECT_NE(e.state().ResultText.find(d.locked ? "locked" : "not a database"), std::string::npos);
    }
    EXPECT_EQ(e.prefix.Read(kOldDb), before);
  }

  ConversionEnv e;  // without an engine
  e.WithMatchingDatabases();
  e.ctx.databases = nullptr;
  e.Convert();
  EXPECT_TRUE(e.state().FailureFlag);
  EXPECT_EQ(e.Log(), "Fout: ActiveX component can't create object\r\n");
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
