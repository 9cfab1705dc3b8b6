#include "conversion/compare_tables.h"

#include <gtest/gtest.h>

#include "conversion/conversion_test_env.h"

namespace vmu {
namespace {

using testing::ConversionEnv;
using testing::kConvDb;
using testing::kNewDb;
using testing::kOldDb;

TEST(CompareTables, ListsTheFieldsOfEveryControlledTableInBothDatabases) {
  ConversionEnv e;
  e.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Plaats TEXT); INSERT INTO Klant VALUES (1, 'a', 'b');"
                "CREATE TABLE Artikel (Code TEXT);");
  e.Sql(kNewDb, "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Woonplaats TEXT, Land TEXT);"
                "CREATE TABLE Artikel (Code TEXT, Prijs REAL);");
  e.WithControlRows({{"Klant", 1, 1, true, "", "", ""}, {"Artikel", 2, 2, true, "", "", ""}});
  e.view.QueueAnswer(Answer::Ok);
  e.view.QueueAnswer(Answer::Ok);
  CmdCompareTables_Click(*e.form);
  // Ascending by table name; an empty table still shows its fields.
  EXPECT_EQ(e.Log(),
            "\r\n****************** Old DB, Table: Artikel\r\nCode\r\n"
            "\r\n****************** New DB, Table: Artikel\r\nCode\r\nPrijs\r\n"
            "\r\n****************** Old DB, Table: Klant\r\nNr\r\nNaam\r\nPlaats\r\n"
            "\r\n****************** New DB, Table: Klant\r\nNr\r\nNaam\r\nWoonplaats\r\nLand\r\n");
  EXPECT_TRUE(e.Printed("msgbox title \"VM_Update\" text \"Analyse tabellen / OLD vs New op basis van conversie\" "
                        "buttons ok icon none default 1 -> ok"));
  EXPECT_TRUE(e.Printed("msgbox title \"VM_Update\" text \"Klaar, zie conversieLog.txt\" buttons ok icon none "
                        "default 1 -> ok"));
  EXPECT_FALSE(e.state().OldConn->IsOpen());
  EXPECT_FALSE(e.state().ConvConn->IsOpen());
}

TEST(CompareTables, EmptyControlTableAndAMissingTable) {
  {
    ConversionEnv e;
    e.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER);");
    e.Sql(kNewDb, "CREATE TABLE Klant (Nr INTEGER);");
    e.WithControlRows({});
    e.view.QueueAnswer(Answer::Ok);
    e.view.QueueAnswer(Answer::Ok);
    CmdCompareTables_Click(*e.form);
    EXPECT_FALSE(e.prefix.Exists(std::string(testing::kDataDir) + "ConversieLog.TXT"));
    EXPECT_FALSE(e.view.AnswersPending());
  }
  {
    // A table the new database lacks: the report stops there, says why, and
    // leaves no connection open; the program goes on.
    ConversionEnv e;
    e.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER);");
    e.Sql(kNewDb, "CREATE TABLE Iets (A INTEGER);");
    e.WithControlRows({{"Klant", 1, 1, true, "", "", ""}});
    const std::string old_bytes = e.prefix.Read(kOldDb);
    e.view.QueueAnswer(Answer::Ok);
    e.view.QueueAnswer(Answer::Ok);
    CmdCompareTables_Click(*e.form);
    EXPECT_EQ(e.Log(), "\r\n****************** Old DB, Table: Klant\r\nNr\r\n");
    EXPECT_NE(e.Out().find("msgbox title \"VM_Update\" text \"no such table: Klant"), std::string::npos) << e.Out();
    EXPECT_EQ(e.Out().find("Klaar, zie conversieLog.txt"), std::string::npos);
    EXPECT_FALSE(e.state().OldConn->IsOpen());
    EXPECT_FALSE(e.state().NewConn->IsOpen());
    EXPECT_FALSE(e.state().ConvConn->IsOpen());
    EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
  }
}

}  // namespace
}  // namespace vmu
