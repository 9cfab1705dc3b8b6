#include "platform/sqlite/held_rows.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace vmu {
namespace {

std::string Rows(sqlite3* db, const char* table) {
  std::string rows;
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(db, (std::string("SELECT typeof(a) || quote(a), typeof(b) || quote(b) FROM ") + table).c_str(), -1,
                     &s, nullptr);
  while (sqlite3_step(s) == SQLITE_ROW)
    rows += std::string(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))) + " " +
            reinterpret_cast<const char*>(sqlite3_column_text(s, 1)) + "\n";
  sqlite3_finalize(s);
  return rows;
}

// The values outlive the steps past their rows, each with its own type.
TEST(HeldRows, GiveBackEachValueAsTheRowHeldItAfterTheStatementMovedOn) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TABLE Bron (a, b); CREATE TABLE Doel (a, b);"
                         "INSERT INTO Bron VALUES (1, 'één'), (-0.5, ''), (NULL, x''), (x'00ff', '007'),"
                         " (9223372036854775807, zeroblob(3));",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_stmt* source = nullptr;
  sqlite3_prepare_v2(db, "SELECT a, b FROM Bron", -1, &source, nullptr);
  HeldRows held(2);
  while (sqlite3_step(source) == SQLITE_ROW) held.Add(source);
  sqlite3_finalize(source);
  ASSERT_EQ(held.size(), 5);

  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO Doel VALUES (?, ?)", -1, &insert, nullptr);
  for (int r = 0; r < held.size(); ++r) {
    ASSERT_EQ(held.Bind(insert, 1, r), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  EXPECT_EQ(Rows(db, "Doel"), Rows(db, "Bron"));
  held.Clear();
  EXPECT_EQ(held.size(), 0);
  sqlite3_close(db);
}

}  // namespace
}  // namespace vmu
