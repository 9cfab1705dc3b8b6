#include "platform/sqlite/set_copy.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <exception>
#include <set>

#include "platform/ascii.h"
#include "platform/jet/jet_sql.h"
#include "platform/jet/jet_text.h"
#include "platform/sqlite/column_affinity.h"
#include "platform/sqlite/destination_table.h"
#include "platform/sqlite/jet_connection_string.h"
#include "platform/sqlite/jet_functions.h"
#include "platform/sqlite/sqlite_connection.h"

namespace vmu {

namespace {

constexpr const char* kSourceSchema = "old";
constexpr const char* kTargetSchema = "new";
constexpr const char* kSourceName = "vmu_source";
// VM instructions between two looks at the clock: a few microseconds.
constexpr int kProgressInstructions = 16384;

struct Declined {
  std::string reason;
};

// What the statement's helper functions and the progress handler share.
struct CopyState {
  const SetCopy* copy = nullptr;
  sqlite3_stmt* insert = nullptr;
  long rows = 0;           // counted by vmu_row, exact
  long steps_per_row = 0;  // when no function counts: an estimate from the loop's length
  std::exception_ptr progress_error;
};

class Handle {
 public:
  ~Handle() { sqlite3_close_v2(db_); }
  sqlite3* db_ = nullptr;
};

void Exec(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : sqlite3_errmsg(db);
    sqlite3_free(error);
    throw Declined{message};
  }
}

std::string UriOf(const std::string& host_path, const char* mode) {
  std::string uri = "file:";
  for (unsigned char c : host_path) {
    if (IsAsciiLetterOrDigit(static_cast<char>(c)) || (c != 0 && std::strchr("/-._~", c))) {
      uri += static_cast<char>(c);
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      uri += '%';
      uri += kHex[c >> 4];
      uri += kHex[c & 15];
    }
  }
  return uri + (mode ? std::string("?mode=") + mode : "");
}

void Attach(sqlite3* db, const std::string& uri, const char* schema) {
  sqlite3_stmt* raw = nullptr;
  const std::string sql = std::string("ATTACH ?1 AS ") + schema;
  sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
  Statement statement(raw);
  if (!raw) throw Declined{sqlite3_errmsg(db)};
  sqlite3_bind_text(raw, 1, uri.c_str(), -1, SQLITE_TRANSIENT);
  if (sqlite3_step(raw) != SQLITE_DONE) throw Declined{std::string("cannot attach: ") + sqlite3_errmsg(db)};
}

// Counts the rows as they go by, passing the value on.
void RowFunction(sqlite3_context* context, int, sqlite3_value** argv) {
  ++static_cast<CopyState*>(sqlite3_user_data(context))->rows;
  sqlite3_result_value(context, argv[0]);
}

// Stops the statement at a text that the column would store as another
// number: the row path refuses that row.
void KeepTextFunction(sqlite3_context* context, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
    const char* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    std::string_view value(text, sqlite3_value_bytes(argv[0]));
    auto stored = StoredNumberText(value, static_cast<Affinity>(sqlite3_value_int(argv[1])));
    if (stored && *stored != value) {
      sqlite3_result_error(context, "a text would be stored as a number", -1);
      return;
    }
  }
  sqlite3_result_value(context, argv[0]);
}

int OnProgress(void* data) {
  auto* state = static_cast<CopyState*>(data);
  if (!state->copy->progress) return 0;
  long rows = state->rows;
  if (state->steps_per_row > 0)
    rows = sqlite3_stmt_status(state->insert, SQLITE_STMTSTATUS_VM_STEP, 0) / state->steps_per_row;
  try {
    state->copy->progress(rows);
  } catch (...) {
    state->progress_error = std::current_exception();
    return 1;  // interrupts the statement; the error goes on after the roll-back
  }
  return 0;
}

// The instructions the engine runs per row when it copies whole records:
// the length of the loop around the record copy, which has no branches.
// Zero when the engine decodes the rows instead.
long RecordCopyLoop(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  sqlite3_prepare_v2(db, ("EXPLAIN " + sql).c_str(), -1, &raw, nullptr);
  Statement explain(raw);
  long record_copy = -1;
  while (raw && sqlite3_step(raw) == SQLITE_ROW) {
    const char* opcode = reinterpret_cast<const char*>(sqlite3_column_text(raw, 1));
    const long address = sqlite3_column_int(raw, 0), target = sqlite3_column_int(raw, 2);
    if (!opcode) continue;
    if (record_copy < 0 && std::strcmp(opcode, "RowData") == 0) record_copy = address;
    if (record_copy >= 0 && std::strcmp(opcode, "Next") == 0 && target <= record_copy) return address - target + 1;
  }
  return 0;
}

struct SourceQuery {
  std::string sql;
  std::vector<std::string> names;
};

int NoteForeignReads(void* data, int action, const char*, const char*, const char* schema, const char*) {
  if (action == SQLITE_READ && (!schema || std::strcmp(schema, kSourceSchema) != 0)) *static_cast<bool*>(data) = true;
  return SQLITE_OK;
}

SourceQuery PrepareSource(sqlite3* db, const std::string& jet_query) {
  SourceQuery source{TranslateJetSql(jet_query), {}};
  while (!source.sql.empty() && (IsAsciiSpace(source.sql.back()) || source.sql.back() == ';')) source.sql.pop_back();
  if (AsciiLower(source.sql).find(kSourceName) != std::string::npos) throw Declined{"the query uses a reserved name"};
  bool foreign = false;
  sqlite3_set_authorizer(db, NoteForeignReads, &foreign);
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int rc = sqlite3_prepare_v2(db, source.sql.c_str(), -1, &raw, &tail);
  sqlite3_set_authorizer(db, nullptr, nullptr);
  Statement statement(raw);
  if (rc != SQLITE_OK || !raw) throw Declined{std::string("the query does not prepare: ") + sqlite3_errmsg(db)};
  for (; tail && *tail; ++tail)
    if (!std::strchr(" \t\r\n;", *tail)) throw Declined{"the query holds more than one statement"};
  if (!sqlite3_stmt_readonly(raw) || sqlite3_column_count(raw) == 0) throw Declined{"the query returns no rows"};
  if (foreign) throw Declined{"the query reads more than the old database"};
  for (int i = 0; i < sqlite3_column_count(raw); ++i) {
    const char* name = sqlite3_column_name(raw, i);
    source.names.push_back(name ? name : "");
  }
  return source;
}

// The destination field for each source field, as the row path finds it.
std::vector<const DestinationField*> MatchFields(const SourceQuery& source, const DestinationTable& destination) {
  std::vector<const DestinationField*> matched;
  std::set<std::string> columns;
  for (const std::string& name : source.names) {
    const DestinationField* match = nullptr;
    for (const DestinationField& field : destination.fields) {
      if (CompareNoCase(field.name, name) != 0) continue;
      if (match) throw Declined{"the destination has more than one field named " + name};
      match = &field;
    }
    if (!match) throw Declined{"the destination has no field named " + name};
    if (!columns.insert(AsciiLower(match->column)).second)
      throw Declined{"two fields of the query go to column " + match->column};
    matched.push_back(match);
  }
  return matched;
}

// The table's own columns in order, when every one of them is plain.
std::vector<std::string> TableColumns(sqlite3* db, const std::string& table) {
  sqlite3_stmt* raw = nullptr;
  const std::string sql = std::string("SELECT name, hidden FROM pragma_table_xinfo(?1, '") + kTargetSchema + "')";
  sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
  Statement statement(raw);
  std::vector<std::string> columns;
  if (!raw) return columns;
  sqlite3_bind_text(raw, 1, table.c_str(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(raw) == SQLITE_ROW) {
    if (sqlite3_column_int(raw, 1) != 0) return {};
    columns.push_back(reinterpret_cast<const char*>(sqlite3_column_text(raw, 0)));
  }
  return columns;
}

struct InsertText {
  std::string sql;
  bool counts_rows = false;
  long steps_per_row = 0;  // for the progress when no function counts the rows
};

InsertText InsertStatement(sqlite3* db, const SourceQuery& source, const DestinationTable& destination,
                           const std::vector<const DestinationField*>& matched) {
  const std::string target = std::string(kTargetSchema) + "." + QuotedName(destination.table);
  bool guarded = false;
  for (const DestinationField* field : matched) guarded |= TextColumnWithNumberAffinity(field->declared_type);
  // The query's fields are the table's columns in the table's order: the
  // engine may copy whole records when the layouts match.
  const std::vector<std::string> columns = TableColumns(db, destination.table);
  bool whole_table = !guarded && columns.size() == matched.size();
  for (size_t i = 0; whole_table && i < columns.size(); ++i)
    whole_table = CompareNoCase(columns[i], matched[i]->column) == 0;
  if (whole_table) {
    InsertText whole{"INSERT INTO " + target + " " + source.sql, false, 0};
    // Only worth it when the engine copies whole records; decoded rows are
    // counted exactly in the other form.
    whole.steps_per_row = RecordCopyLoop(db, whole.sql);
    if (whole.steps_per_row > 0) return whole;
  }

  std::string names, inner, values;
  for (size_t i = 0; i < matched.size(); ++i) {
    const std::string column = "c" + std::to_string(i + 1);
    inner += (i ? ", " : "") + column;
    names += (i ? ", " : "") + QuotedName(matched[i]->column);
    std::string value = column;
    if (TextColumnWithNumberAffinity(matched[i]->declared_type))
      value = "vmu_keep_text(" + value + ", " +
              std::to_string(static_cast<int>(AffinityOf(matched[i]->declared_type))) + ")";
    if (i == 0) value = "vmu_row(" + value + ")";
    values += (i ? ", " : "") + value;
  }
  return {std::string("WITH ") + kSourceName + "(" + inner + ") AS (" + source.sql + "\n) INSERT INTO " + target +
              " (" + names + ") SELECT " + values + " FROM " + kSourceName,
          true, 0};
}

SetCopyOutcome Copy(FileSystem& fs, SqliteSession& session, const SetCopy& copy, CopyState& state) {
  // Rows the destination's connection added must be in its file first.
  session.CommitBatch();
  DestinationTable destination;
  try {
    destination = DescribeDestination(session, copy.destination);
  } catch (const std::exception& e) {
    throw Declined{std::string("the destination does not open: ") + e.what()};
  }
  if (destination.schema != "main") throw Declined{"the destination is not a table of the new database"};
  const char* target_file = sqlite3_db_filename(session.db(), "main");
  if (!target_file || !*target_file) throw Declined{"the new database has no file"};

  Handle handle;
  // An empty main database: the query's names are found in the old
  // database, attached first, before the new one.
  if (sqlite3_open_v2(":memory:", &handle.db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK)
    throw Declined{"no engine connection"};
  sqlite3* db = handle.db_;
  sqlite3_busy_timeout(db, SqliteConnection::kBusyTimeoutMs);
  if (RegisterJetFunctions(db) != SQLITE_OK ||
      sqlite3_create_function(db, "vmu_row", 1, SQLITE_UTF8, &state, RowFunction, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function(db, "vmu_keep_text", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, KeepTextFunction,
                              nullptr, nullptr) != SQLITE_OK)
    throw Declined{sqlite3_errmsg(db)};
  Attach(db, UriOf(fs.HostPath(DataSourceOf(copy.source_database)), "ro"), kSourceSchema);
  Attach(db, UriOf(target_file, nullptr), kTargetSchema);

  const SourceQuery source = PrepareSource(db, copy.query);
  const InsertText insert = InsertStatement(db, source, destination, MatchFields(source, destination));
  state.steps_per_row = insert.steps_per_row;

  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, insert.sql.c_str(), -1, &raw, nullptr) != SQLITE_OK || !raw) {
    sqlite3_finalize(raw);
    throw Declined{std::string("the copy does not prepare: ") + sqlite3_errmsg(db)};
  }
  Statement statement(raw);
  state.insert = raw;
  Exec(db, "SAVEPOINT vmu_copy");
  sqlite3_progress_handler(db, kProgressInstructions, OnProgress, &state);
  const int rc = sqlite3_step(raw);
  sqlite3_progress_handler(db, 0, nullptr, nullptr);
  const long rows = static_cast<long>(sqlite3_changes64(db));
  std::string message = sqlite3_errmsg(db);
  statement.reset();
  if (rc != SQLITE_DONE) {
    sqlite3_exec(db, "ROLLBACK TO vmu_copy; RELEASE vmu_copy", nullptr, nullptr, nullptr);
    if (state.progress_error) std::rethrow_exception(state.progress_error);
    throw Declined{"the statement stopped: " + message};
  }
  try {
    Exec(db, "RELEASE vmu_copy");
  } catch (const Declined&) {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  return SetCopyOutcome{true, rows, ""};
}

}  // namespace

SetCopyOutcome CopyWithOneStatement(FileSystem& fs, SqliteSession& destination, const SetCopy& copy) {
  CopyState state;
  state.copy = &copy;
  try {
    return Copy(fs, destination, copy, state);
  } catch (const Declined& declined) {
    return SetCopyOutcome{false, 0, declined.reason};
  } catch (const std::exception& e) {
    if (state.progress_error) throw;
    return SetCopyOutcome{false, 0, e.what()};
  }
}

}  // namespace vmu
