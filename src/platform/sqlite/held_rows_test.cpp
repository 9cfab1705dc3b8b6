#include "platform/sqlite/held_rows.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "testing/conversion_files.h"
#include "testing/temp_dir.h"

namespace vmu {
namespace {

// The values outlive the steps past their rows, each with its own type.
TEST(HeldRows, GiveBackEachValueAsTheRowHeldItAfterTheStatementMovedOn) {
  testing::TempDir dir;
  const std::string path = dir.Sub("held.db");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
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
  const std::string typed = "SELECT typeof(a) || quote(a), typeof(b) || quote(b) FROM ";
  EXPECT_EQ(testing::HostRows(path, typed + "Doel"), testing::HostRows(path, typed + "Bron"));
  held.Clear();
  EXPECT_EQ(held.size(), 0);
  sqlite3_close(db);
}

}  // namespace
}  // namespace vmu
