#include "platform/sqlite/rows_together.h"

#include <sqlite3.h>

#include "platform/sqlite/destination_table.h"

namespace vmu {

namespace {

// False when the schema's catalogue names something that rules it out, or
// cannot be read; a temporary trigger on the table stands in temp's.
bool NothingAgainst(sqlite3* db, const std::string& schema, const std::string& table) {
  const std::string sql =
      "SELECT type, upper(sql) FROM " + QuotedName(schema) + ".sqlite_master WHERE tbl_name = ?1 COLLATE NOCASE";
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK || !raw) return false;
  Statement statement(raw);
  sqlite3_bind_text(raw, 1, table.c_str(), -1, SQLITE_TRANSIENT);
  int rc;
  while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(raw, 0));
    const unsigned char* text = sqlite3_column_text(raw, 1);
    const std::string definition = text ? reinterpret_cast<const char*>(text) : "";
    if (type == "trigger") return false;
    if (type == "table" &&
        (definition.find("CONFLICT") != std::string::npos || definition.find("REFERENCES") != std::string::npos ||
         definition.find("VIRTUAL") != std::string::npos))
      return false;
  }
  return rc == SQLITE_DONE;
}

}  // namespace

bool RowsGoInTogether(SqliteSession& session, const std::string& schema, const std::string& table) {
  if (!session.open()) return false;
  return NothingAgainst(session.db(), schema, table) &&
         (schema == "temp" || NothingAgainst(session.db(), "temp", table));
}

}  // namespace vmu
