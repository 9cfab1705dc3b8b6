#include "conversion/compare_tables.h"

#include <gtest/gtest.h>

#include "conversion/conversion_test_env.h"

namespace vmu {
namespace {

using testing::ConversionEnv;
using testing::kNewDb;
using testing::kOldDb;

const char* const kStartAndEnd =
    "message Analyse tabellen / OLD vs New op basis van conversie\nmessage Klaar, zie conversieLog.txt\n";

TEST(CompareTables, ListsTheFieldsOfEveryControlledTableInBothDatabases) {
  ConversionEnv e;
  e.Sql(kOldDb,
        "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Plaats TEXT); INSERT INTO Klant VALUES (1, 'a', 'b');"
        "CREATE TABLE Artikel (Code TEXT);");
  e.Sql(kNewDb,
        "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Woonplaats TEXT, Land TEXT);"
        "CREATE TABLE Artikel (Code TEXT, Prijs REAL);");
  e.WithControlRows({{"Klant", 1, 1, true, "", "", ""}, {"Artikel", 2, 2, true, "", "", ""}});
  e.CompareTables();
  // Ascending by table name; an empty table still shows its fields.
  EXPECT_EQ(e.Log(),
            "\r\n****************** Old DB, Table: Artikel\r\nCode\r\n"
            "\r\n****************** New DB, Table: Artikel\r\nCode\r\nPrijs\r\n"
            "\r\n****************** Old DB, Table: Klant\r\nNr\r\nNaam\r\nPlaats\r\n"
            "\r\n****************** New DB, Table: Klant\r\nNr\r\nNaam\r\nWoonplaats\r\nLand\r\n");
  EXPECT_EQ(e.display.lines, kStartAndEnd);
  EXPECT_EQ(e.databases.made, 3);
  EXPECT_EQ(e.databases.left_open, 0);
}

TEST(CompareTables, EmptyControlTableAndAMissingTable) {
  {
    ConversionEnv e;
    e.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER);");
    e.Sql(kNewDb, "CREATE TABLE Klant (Nr INTEGER);");
    e.WithControlRows({});
    e.CompareTables();
    EXPECT_FALSE(e.prefix.Exists(std::string(testing::kDataDir) + "ConversieLog.TXT"));
    EXPECT_EQ(e.display.lines, kStartAndEnd);
  }
  {
    // A table the new database lacks: the report stops there, says why, and
    // leaves no connection open; the program goes on.
    ConversionEnv e;
    e.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER);");
    e.Sql(kNewDb, "CREATE TABLE Iets (A INTEGER);");
    e.WithControlRows({{"Klant", 1, 1, true, "", "", ""}});
    const std::string old_bytes = e.prefix.Read(kOldDb);
    e.CompareTables();
    EXPECT_EQ(e.Log(), "\r\n****************** Old DB, Table: Klant\r\nNr\r\n");
    EXPECT_NE(e.display.lines.find("\nmessage no such table: Klant"), std::string::npos) << e.display.lines;
    EXPECT_EQ(e.display.lines.find("Klaar, zie conversieLog.txt"), std::string::npos);
    EXPECT_EQ(e.databases.made, 3);
    EXPECT_EQ(e.databases.left_open, 0);
    EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
  }
  {
    // Without an engine nothing is opened; the message says why.
    ConversionEnv e;
    e.engine = nullptr;
    e.CompareTables();
    EXPECT_EQ(e.display.lines, "message ActiveX component can't create object\n");
  }
}

}  // namespace
}  // namespace vmu
