// Jet SQL translated and run by SQLite with the Jet functions, on a small
// database in memory. Any text: no crash, no undefined behaviour. The
// engine is kept in bounds so that a slow or huge query ends quickly, and
// away from files: no ATTACH, no VACUUM INTO.
#include <sqlite3.h>

#include <cctype>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/jet/jet_sql.h"
#include "platform/sqlite/jet_functions.h"

namespace {

constexpr const char* kTables =
    "CREATE TABLE Klant (Id INTEGER PRIMARY KEY, Naam TEXT, Bedrag REAL, Datum TEXT, Actief INTEGER);"
    "INSERT INTO Klant VALUES (1, 'Bakker', 12.5, '2026-03-02', 1), (2, NULL, -3, '2026-01-31 14:30:00', 0),"
    " (3, 'éclair', 1e300, 'geen datum', -1);"
    "CREATE TABLE TblTabels (Tabel TEXT, Sql TEXT);"
    "INSERT INTO TblTabels VALUES ('Klant', 'SELECT * FROM Klant');";

int StopLongRuns(void* steps) { return ++*static_cast<int*>(steps) > 2000; }

int NoFiles(void*, int action, const char*, const char*, const char*, const char*) {
  return action == SQLITE_ATTACH || action == SQLITE_DETACH ? SQLITE_DENY : SQLITE_OK;
}

bool MentionsVacuum(const std::string& sql) {
  std::string lower;
  for (char c : sql) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("vacuum") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string sql = vmu::TranslateJetSql(vmu::fuzz::Bytes(data, size));
  if (MentionsVacuum(sql)) return 0;
  sqlite3* db = nullptr;
  vmu::fuzz::Require(sqlite3_open(":memory:", &db) == SQLITE_OK, "an in-memory database opens");
  sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 1 << 20);
  sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
  vmu::fuzz::Require(vmu::RegisterJetFunctions(db) == SQLITE_OK, "the Jet functions register");
  vmu::fuzz::Require(sqlite3_exec(db, kTables, nullptr, nullptr, nullptr) == SQLITE_OK, "the tables are made");
  sqlite3_set_authorizer(db, NoFiles, nullptr);
  int steps = 0;
  sqlite3_progress_handler(db, 1000, StopLongRuns, &steps);

  const char* next = sql.c_str();
  for (int statements = 0; statements < 8 && next && *next; ++statements) {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, next, -1, &statement, &tail) != SQLITE_OK) break;
    for (int rows = 0; statement && rows < 100 && sqlite3_step(statement) == SQLITE_ROW; ++rows) {
      for (int column = 0; column < sqlite3_column_count(statement); ++column) sqlite3_column_text(statement, column);
    }
    sqlite3_finalize(statement);
    next = tail;
  }
  sqlite3_close(db);
  return 0;
}
