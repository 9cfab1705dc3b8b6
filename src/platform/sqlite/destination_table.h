// The table behind a destination for new rows (a table name or a SELECT on
// one table) and the fields it offers, as the engine describes them.
#pragma once

#include <string>
#include <vector>

#include "platform/sqlite/sqlite_session.h"

namespace vmu {

struct DestinationField {
  std::string name;    // as the opening query names it
  std::string column;  // the table's column
  std::string declared_type;
};

struct DestinationTable {
  std::string schema;  // as the connection knows it, "main" for its own file
  std::string table;
  std::vector<DestinationField> fields;  // expressions in a SELECT are left out: nothing to write
};

// Raises with the engine's message when the source does not prepare, and
// when it does not name exactly one table.
DestinationTable DescribeDestination(SqliteSession& session, const std::string& source);

// "name" with inner quotes doubled: any name is safe in SQL text.
std::string QuotedName(const std::string& name);

}  // namespace vmu
