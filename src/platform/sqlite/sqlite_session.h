// One open SQLite database, shared by its connection and the record sets
// made on it, so that a record set outliving its connection's Close never
// touches a closed handle.
#pragma once

#include <memory>
#include <string>

#include "platform/sqlite/sqlite_error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vmu {

struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const;
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

class SqliteSession {
 public:
  // Takes the open handle; path is the Windows path, for messages.
  SqliteSession(sqlite3* db, std::string path);
  ~SqliteSession();
  SqliteSession(const SqliteSession&) = delete;
  SqliteSession& operator=(const SqliteSession&) = delete;

  sqlite3* db() const { return db_; }
  bool open() const { return db_ != nullptr; }
  const std::string& path() const { return path_; }
  // Raises "closed" when the connection has been closed.
  void RequireOpen() const;

  // Prepares one statement; raises with the engine's message, and when the
  // text holds more than one statement.
  Statement Prepare(const std::string& sql);

  // Rows added through record sets are written in transactions of many rows:
  // committing each row would make a large table take hours.
  static constexpr int kBatchRows = 50000;
  void BeforeRow();  // starts a transaction when none is open
  void AfterRow();   // commits after kBatchRows rows
  // Commits what was written; raises when the engine refuses.
  void CommitBatch();

  // Every failure goes through here: the rows written before it are
  // committed first, so that they stay written whatever the caller does next.
  [[noreturn]] void Fail(const std::string& message, int number = kDatabaseError);
  [[noreturn]] void FailWithEngineMessage();

  // Commits the open batch and closes the database.
  void Close();

 private:
  sqlite3* db_;
  std::string path_;
  bool batch_open_ = false;
  int batch_rows_ = 0;
};

}  // namespace vmu
