#include "platform/sqlite/rows_together.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>

namespace vmu {
namespace {

TEST(RowsGoInTogether, OnlyWhereAGroupCannotActDifferently) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  SqliteSession session(db, "C:\\data\\Test.mdb");
  ASSERT_EQ(
      sqlite3_exec(db,
                   "CREATE TABLE Gewoon (Id INTEGER PRIMARY KEY, Naam TEXT NOT NULL UNIQUE, Land TEXT DEFAULT 'NL');"
                   "CREATE TABLE Faal (Naam TEXT UNIQUE ON CONFLICT FAIL);"
                   "CREATE TABLE Regel (Id INTEGER, Ouder INTEGER REFERENCES Regel (Id));"
                   "CREATE TABLE Bewaakt (Naam TEXT); CREATE TABLE Log (Naam TEXT);"
                   "CREATE TRIGGER Na AFTER INSERT ON Bewaakt BEGIN INSERT INTO Log VALUES (new.Naam); END;"
                   "CREATE TABLE Tijdelijk (Naam TEXT);"
                   "CREATE TEMP TRIGGER Weg BEFORE INSERT ON Tijdelijk BEGIN SELECT RAISE(IGNORE); END;",
                   nullptr, nullptr, nullptr),
      SQLITE_OK);
  EXPECT_TRUE(RowsGoInTogether(session, "main", "Gewoon"));
  EXPECT_TRUE(RowsGoInTogether(session, "main", "gewoon"));
  EXPECT_FALSE(RowsGoInTogether(session, "main", "Faal"));
  EXPECT_FALSE(RowsGoInTogether(session, "main", "Regel"));
  EXPECT_FALSE(RowsGoInTogether(session, "main", "Bewaakt"));
  EXPECT_FALSE(RowsGoInTogether(session, "main", "Tijdelijk"));
  EXPECT_FALSE(RowsGoInTogether(session, "elders", "Gewoon"));  // no such schema: the engine cannot say
}

}  // namespace
}  // namespace vmu
