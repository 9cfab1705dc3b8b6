// For the tests of the Jet functions and Jet SQL on SQLite.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "platform/jet/jet_sql.h"
#include "platform/sqlite/jet_functions.h"

namespace vmu::testing {

// An in-memory database with the connection's Jet functions and a few rows
// for the cases to query.
class JetDatabase {
 public:
  JetDatabase() {
    sqlite3_open(":memory:", &db_);
    EXPECT_EQ(RegisterJetFunctions(db_), SQLITE_OK);
    Exec(R"sql(
      CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER);
      INSERT INTO Tbl_About VALUES (1, '5.1', 0), (2, '5.2', 1), (3, '5.3', -1), (4, '5.4', NULL);
      CREATE TABLE Rel (ID INTEGER PRIMARY KEY, Naam TEXT, Plaats TEXT, Bedrag REAL, Datum TEXT, Code TEXT);
      INSERT INTO Rel VALUES (1, 'Bakker', 'Utrecht', 12.5, '2026-03-02', 'A1'),
        (2, 'jansen', 'Zwolle', NULL, '2025-12-31 23:59:00', 'B22'), (3, 'Éclair', NULL, -3, '2026-01-15', '7'),
        (4, 'van Dijk', 'Gouda', 0, NULL, NULL);
      CREATE TABLE "Tbl Space" ("Mijn Veld" TEXT);
      INSERT INTO "Tbl Space" VALUES ('x');
    )sql");
  }
  ~JetDatabase() { sqlite3_close(db_); }

  void Exec(const std::string& sql) {
    char* error = nullptr;
    sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(error, nullptr) << error << "\n" << sql;
    sqlite3_free(error);
  }

  // Rows as "a|b; c|d": texts quoted, reals in SQLite's text form, NULL as
  // NULL; an error as "error: <message>".
  std::string Rows(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
      return "error: " + std::string(sqlite3_errmsg(db_));
    std::string out;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      if (!out.empty()) out += "; ";
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        if (i) out += "|";
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        switch (sqlite3_column_type(statement, i)) {
          case SQLITE_NULL: out += "NULL"; break;
          case SQLITE_TEXT: out += "'" + std::string(text) + "'"; break;
          default: out += text; break;
        }
      }
    }
    if (rc != SQLITE_DONE) out = "error: " + std::string(sqlite3_errmsg(db_));
    sqlite3_finalize(statement);
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
};

struct JetCase {
  const char* jet;
  const char* expected;
  const char* check = nullptr;  // a query whose rows are expected instead (after a change)
};

// Each case on a fresh database; `prefix` goes before each case's text.
inline void RunCases(const std::vector<JetCase>& cases, const std::string& prefix = "") {
  for (const JetCase& c : cases) {
    JetDatabase db;
    const std::string sql = TranslateJetSql(prefix + c.jet);
    std::string rows = db.Rows(sql);
    if (c.check) rows = db.Rows(TranslateJetSql(c.check));
    EXPECT_EQ(rows, c.expected) << c.jet << "\n  became: " << sql;
  }
}

}  // namespace vmu::testing
