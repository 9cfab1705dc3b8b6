// The conversion's checks, error path and exit, on real SQLite files. What
// the wizard makes of each result is tested in wizard/conversion_step_test.
#include "conversion/convert.h"

#include <gtest/gtest.h>

#include <array>

#include "conversion/conversion_test_env.h"
#include "platform/error.h"

namespace vmu {
namespace {

using Outcome = ConversionResult::Outcome;
using testing::ConversionEnv;
using testing::kConvDb;
using testing::kLockFile;
using testing::kNewDb;
using testing::kOldDb;

const std::string kStop =
    "Druk op Annuleren om met de conversie te stoppen, u kunt gewoon met uw huidige versie doorwerken";

// Stopped: refused or failed, with the wizard's buttons blocked (or, when the
// user can try again, left to press), and every connection the call opened
// closed without error.
void ExpectStopped(ConversionEnv& e, bool blocked = true) {
  EXPECT_NE(e.result.outcome, Outcome::Converted);
  EXPECT_EQ(e.result.buttons_blocked, blocked);
  EXPECT_FALSE(e.result.closing_error);
  EXPECT_EQ(e.databases.left_open, 0);
}

void ExpectRefused(ConversionEnv& e, const std::string& text, bool blocked = true) {
  EXPECT_EQ(e.result.outcome, Outcome::Refused);
  EXPECT_EQ(e.result.text, text);
  EXPECT_FALSE(e.result.as_message);
  ExpectStopped(e, blocked);
}

TEST(Convert, MissingFilesAndTheOpenApplicationAreRefusedBeforeAnyDatabaseIsOpened) {
  {
    ConversionEnv e;
    e.prefix.Write(kLockFile, "");  // not looked at: the old database comes first
    e.Convert();
    ExpectRefused(e,
                  "De oude database staat niet op de plaats waar deze wordt verwacht!\r\nDit moet het pad zijn: \r\n"
                  "C:\\Velmora\\VM_DBv01.mdb\r\n\r\nNeem contact op met de leverancier als u hem zelf niet kan vinden."
                  "\r\n\r\n" +
                      kStop);
    EXPECT_EQ(e.Log(), "");
    EXPECT_EQ(e.databases.made, 0);
  }
  {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.prefix.Write(kLockFile, "");
    e.Convert();
    ExpectRefused(e,
                  "Velmora is niet afgesloten! Sluit af en druk wederom op de knop Volgende\r\n\r\n" + kStop +
                      " en de conversie op een ander moment weer opstarten",
                  false);
    EXPECT_EQ(e.databases.made, 0);
  }
  {
    // Told in a message box of its own.
    ConversionEnv e;
    e.WithVersion(kOldDb, "'5.1'");
    e.Convert();
    EXPECT_EQ(e.result.outcome, Outcome::Refused);
    EXPECT_EQ(e.result.text,
              "De nieuwe database zit niet in de meegeleverde set\r\n\r\nNeem contact op met de leverancier");
    EXPECT_TRUE(e.result.as_message);
    ExpectStopped(e);
    EXPECT_EQ(e.databases.made, 0);
    EXPECT_EQ(e.display.lines, "");
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
       "leverancier\r\n\r\n" +
           kStop,
       "Check versie oude database: 5.2 versus te verwachtte versie: 5.1\r\n"},
      // 5.10 is not 5.1: text, not number.
      {"'5.10'", "'5.2'", "5.1",
       "De huidige versie van het programma bestand (de database) is niet de juiste voor deze conversie: u heeft "
       "versie :5.10 en dit had moeten zijn: 5.1. Als uw versie lager is dan verwacht, dient u eerst een eerdere "
       "conversie te draaien, is uw versie hoger dan heeft u een oud conversieprogramma opgestart\r\n\r\n" +
           kStop,
       "Check versie oude database: 5.10 versus te verwachtte versie: 5.1\r\n"},
      {"'5.1'", "'5.3'", "5.1",
       "Er is een fout geconstateerd bij de nieuw opgestuurde database, het versienummer zou moeten zijn: 5.2, dit "
       "is echter 5.3\r\nExcuus voor deze overlast, neemt u z.s.m. contact op met de leverancier\r\n\r\n" +
           kStop,
       checked_old + "Check versie nieuwe database: 5.3 versus te verwachtte versie: 5.2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.old_version + std::string(" ") + c.new_version);
    ConversionEnv e;
    e.WithVersion(kOldDb, c.old_version);
    e.WithVersion(kNewDb, c.new_version);
    e.WithControlRows({});
    e.settings.ConvFromVer = c.from;
    const std::string before = e.prefix.Read(kOldDb);
    e.Convert();
    EXPECT_EQ(e.Log(), c.log);
    if (c.result.empty()) {
      EXPECT_EQ(e.result.outcome, Outcome::Converted);
      continue;
    }
    ExpectRefused(e, c.result);
    EXPECT_EQ(e.databases.made, 3);
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
  EXPECT_EQ(e.result.outcome, Outcome::Failed);
  EXPECT_EQ(e.result.error_number, 3021);
  EXPECT_EQ(e.result.error_description.rfind("Either BOF or EOF", 0), 0u) << e.result.error_description;
  EXPECT_EQ(e.Log(), "");  // the wizard logs the error
  ExpectStopped(e);
  EXPECT_EQ(e.prefix.Read(kOldDb), before);
}

TEST(Convert, DatabaseNamesMustBeBareFileNames) {
  const std::string o = kOldDb, n = kNewDb, c = "Conversie.mdb";
  // One per name; which names pass is database_names' and bare_name's to test.
  const std::vector<std::array<std::string, 3>> cases = {{"C:\\Velmora\\sub\\VM_DBv01.mdb", n, c},
                                                         {o, "C:\\Velmora\\Update\\C:\\elders\\VM.mdb", c},
                                                         {o, n, "..\\Conversie.mdb"}};
  for (const auto& [old_file, new_file, conv_database] : cases) {
    SCOPED_TRACE(old_file + " " + new_file + " " + conv_database);
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.settings.ConvOldfile = old_file;
    e.settings.ConvNewfile = new_file;
    e.settings.ConvDatabase = conv_database;
    e.settings.ConvDatabasePath = std::string(testing::kUpdateDir) + conv_database;
    e.Convert();
    EXPECT_EQ(e.result.outcome, Outcome::Failed);
    EXPECT_EQ(e.result.error_number, kBadFileName);
    EXPECT_EQ(e.result.error_description, "Bad file name or number");
    EXPECT_EQ(e.Log(), "");
    EXPECT_EQ(e.databases.made, 0);
  }
}

TEST(Convert, BadDatabasesEndOnTheErrorPathAndLeaveTheOldOneAlone) {
  // A conversion database that is no database; a user's database of another
  // engine. Which bytes SQLite refuses, and that a database locked elsewhere
  // fails the same way, is sqlite_connection's to test.
  const std::pair<std::string, std::string> damages[] = {{kConvDb, "dit is geen database, maar gewoon tekst"},
                                                         {kOldDb, std::string("Standard Jet DB\0\x01\x02", 18)}};
  for (const auto& [path, bytes] : damages) {
    ConversionEnv e;
    e.WithMatchingDatabases();
    e.prefix.Write(path, bytes);
    const std::string before = e.prefix.Read(kOldDb);
    e.Convert();
    SCOPED_TRACE(e.result.error_description);
    EXPECT_EQ(e.result.outcome, Outcome::Failed);
    ExpectStopped(e);
    if (path == kOldDb) {
      EXPECT_NE(e.result.error_description.find("not a database"), std::string::npos);
    }
    EXPECT_EQ(e.prefix.Read(kOldDb), before);
  }

  ConversionEnv e;  // without an engine
  e.WithMatchingDatabases();
  e.engine = nullptr;
  e.Convert();
  EXPECT_EQ(e.result.outcome, Outcome::Failed);
  EXPECT_EQ(e.result.error_number, 429);
  EXPECT_EQ(e.result.error_description, "ActiveX component can't create object");
  EXPECT_EQ(e.Log(), "");
}

}  // namespace
}  // namespace vmu
