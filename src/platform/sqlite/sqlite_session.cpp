#include "platform/sqlite/sqlite_session.h"

#include <sqlite3.h>

#include <cstring>

namespace vmu {

void StatementFinalizer::operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }

SqliteSession::SqliteSession(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {}

SqliteSession::~SqliteSession() {
  try {
    Close();
  } catch (...) {
    // Nothing more can be done for a batch the engine refuses at this point.
  }
}

void SqliteSession::RequireOpen() const {
  if (!db_) RaiseDatabaseError("Operation is not allowed when the object is closed.", kObjectClosed);
}

Statement SqliteSession::Prepare(const std::string& sql) {
  RequireOpen();
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()) + 1, &raw, &tail);
  Statement statement(raw);
  if (rc != SQLITE_OK) FailWithEngineMessage();
  if (!statement) Fail("the SQL text holds no statement");
  for (; tail && *tail; ++tail) {
    if (std::strchr(" \t\r\n;", *tail)) continue;
    // Jet runs one statement per call; running only the first would hide the rest.
    Fail("Characters found after end of SQL statement.");
  }
  return statement;
}

void SqliteSession::BeforeRow() {
  if (batch_open_ && sqlite3_get_autocommit(db_)) batch_open_ = false;  // the engine ended it after an error
  if (batch_open_) return;
  if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) FailWithEngineMessage();
  batch_open_ = true;
  batch_rows_ = 0;
}

void SqliteSession::AfterRow() {
  if (++batch_rows_ >= kBatchRows) CommitBatch();
}

void SqliteSession::CommitBatch() {
  if (!batch_open_) return;
  batch_open_ = false;
  batch_rows_ = 0;
  if (!db_ || sqlite3_get_autocommit(db_)) return;
  if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
    std::string message = EngineMessage(db_);
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    RaiseDatabaseError(message);
  }
}

void SqliteSession::Fail(const std::string& message, int number) {
  try {
    CommitBatch();
  } catch (...) {
    // The first failure is the one to report.
  }
  RaiseDatabaseError(message, number);
}

void SqliteSession::FailWithEngineMessage() { Fail(EngineMessage(db_)); }

void SqliteSession::Close() {
  if (!db_) return;
  struct CloseAtEnd {
    sqlite3*& db;
    ~CloseAtEnd() {
      // Statements still held by record sets are finalized when those go;
      // close_v2 waits for them.
      sqlite3_close_v2(db);
      db = nullptr;
    }
  } close_at_end{db_};
  CommitBatch();
}

}  // namespace vmu
