#include "platform/sqlite/sqlite_connection.h"

#include <sqlite3.h>

#include "platform/ascii.h"
#include "platform/jet/jet_sql.h"
#include "platform/sqlite/destination_table.h"
#include "platform/sqlite/jet_connection_string.h"
#include "platform/sqlite/jet_functions.h"
#include "platform/sqlite/rows_together.h"
#include "platform/sqlite/set_copy.h"
#include "platform/sqlite/sqlite_destination.h"
#include "platform/sqlite/sqlite_recordset.h"

namespace vmu {

namespace {

std::string WithoutTrailingSemicolons(std::string sql) {
  while (!sql.empty() && (IsAsciiSpace(sql.back()) || sql.back() == ';')) sql.pop_back();
  return sql;
}

}  // namespace

SqliteConnection::~SqliteConnection() {
  try {
    Close();
  } catch (...) {
    // Close has committed what the engine accepted.
  }
}

std::shared_ptr<SqliteSession>& SqliteConnection::Session() {
  if (!session_ || !session_->open())
    RaiseDatabaseError("Operation is not allowed when the object is closed.", kObjectClosed);
  return session_;
}

void SqliteConnection::Open(const std::string& connection_string) {
  OpenWith(connection_string, SQLITE_OPEN_READWRITE);
}

void SqliteConnection::OpenReadOnly(const std::string& connection_string) {
  OpenWith(connection_string, SQLITE_OPEN_READONLY);
}

void SqliteConnection::OpenWith(const std::string& connection_string, int access) {
  Close();  // a connection object is opened again by a later conversion
  std::string path = DataSourceOf(connection_string);
  std::string host_path = fs_.HostPath(path);
  sqlite3* db = nullptr;
  // No SQLITE_OPEN_CREATE: a missing file must fail, not become an empty
  // database. One thread uses a connection: no locking inside the engine.
  int rc = sqlite3_open_v2(host_path.c_str(), &db, access | SQLITE_OPEN_NOMUTEX, nullptr);
  auto fail = [&](const std::string& message) {
    sqlite3_close_v2(db);
    RaiseDatabaseError(message + ": " + path);
  };
  if (rc != SQLITE_OK) fail(db ? EngineMessage(db) : sqlite3_errstr(rc));
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  if (RegisterJetFunctions(db) != SQLITE_OK) fail(EngineMessage(db));
  // Reading the schema is what finds a file that is no database, a damaged
  // or truncated one, or one locked by another program.
  if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK)
    fail(EngineMessage(db));
  session_ = std::make_shared<SqliteSession>(db, path);
}

bool SqliteConnection::IsOpen() const { return session_ && session_->open(); }

std::unique_ptr<Recordset> SqliteConnection::Execute(const std::string& jet_sql) {
  std::shared_ptr<SqliteSession>& session = Session();
  std::string sql = TranslateJetSql(jet_sql);
  Statement statement = session->Prepare(sql);
  sqlite3_stmt* raw = statement.get();
  if (sqlite3_column_count(raw) == 0 || !sqlite3_stmt_readonly(raw)) {
    // A statement that changes data runs once, here.
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) session->FailWithEngineMessage();
    return std::make_unique<SqliteRecordset>(session, nullptr, 0);
  }
  // The exact count before the first row, without holding the rows: the
  // engine counts the same query.
  long count = 0;
  sqlite3_stmt* counting = nullptr;
  std::string count_sql = "SELECT count(*) FROM (" + WithoutTrailingSemicolons(sql) + "\n)";
  if (sqlite3_prepare_v2(session->db(), count_sql.c_str(), -1, &counting, nullptr) == SQLITE_OK && counting) {
    Statement owner(counting);
    if (sqlite3_step(counting) != SQLITE_ROW) session->FailWithEngineMessage();
    count = static_cast<long>(sqlite3_column_int64(counting, 0));
  } else {
    sqlite3_finalize(counting);
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) ++count;
    if (rc != SQLITE_DONE) session->FailWithEngineMessage();
    sqlite3_reset(raw);
  }
  return std::make_unique<SqliteRecordset>(session, std::move(statement), count);
}

std::unique_ptr<Recordset> SqliteConnection::OpenForAdding(const std::string& source) {
  std::shared_ptr<SqliteSession>& session = Session();
  DestinationTable destination = DescribeDestination(*session, source);
  const bool together = RowsGoInTogether(*session, destination.schema, destination.table);
  return std::make_unique<SqliteDestination>(session,
                                             QuotedName(destination.schema) + "." + QuotedName(destination.table),
                                             std::move(destination.fields), together);
}

DestinationTable SqliteConnection::DescribeForAdding(const std::string& source) {
  return DescribeDestination(*Session(), source);
}

SetCopyOutcome SqliteConnection::CopyBySet(const SetCopy& copy) {
  std::shared_ptr<SqliteSession>& session = Session();
  return CopyWithOneStatement(fs_, *session, copy);
}

void SqliteConnection::Close() {
  if (!session_) return;
  std::shared_ptr<SqliteSession> session = std::move(session_);
  session->Close();
}

}  // namespace vmu
