#include "platform/sqlite/destination_table.h"

#include <sqlite3.h>

#include <cctype>
#include <set>

#include "platform/ascii.h"
#include "platform/jet/jet_sql.h"

namespace vmu {

namespace {

bool StartsWithSelect(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r\n(");
  if (begin == std::string::npos || text.size() - begin < 6) return false;
  return AsciiLower(text.substr(begin, 6)) == "select" &&
         (text.size() == begin + 6 || !IsAsciiLetterOrDigit(text[begin + 6]));
}

}  // namespace

DestinationTable DescribeDestination(SqliteSession& session, const std::string& source) {
  std::string query = StartsWithSelect(source) ? source : "SELECT * FROM " + source;
  Statement statement = session.Prepare(TranslateJetSql(query));
  sqlite3_stmt* raw = statement.get();
  std::vector<DestinationField> fields;
  std::set<std::pair<std::string, std::string>> tables;
  for (int i = 0; i < sqlite3_column_count(raw); ++i) {
    const char* table = sqlite3_column_table_name(raw, i);
    const char* column = sqlite3_column_origin_name(raw, i);
    if (!table || !column) continue;  // an expression: no column to write
    const char* schema = sqlite3_column_database_name(raw, i);
    tables.insert({schema ? schema : "main", table});
    const char* type = sqlite3_column_decltype(raw, i);
    fields.push_back(DestinationField{sqlite3_column_name(raw, i), column, type ? type : ""});
  }
  if (tables.size() != 1)
    session.Fail("rows can only be added to one table, and \"" + source + "\" does not name exactly one");
  const auto& [schema, table] = *tables.begin();
  return DestinationTable{schema, table, std::move(fields)};
}

std::string QuotedName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + '"';
}

}  // namespace vmu
