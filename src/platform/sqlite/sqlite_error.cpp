#include "platform/sqlite/sqlite_error.h"

#include <sqlite3.h>

#include "platform/error.h"

namespace vmu {

void RaiseDatabaseError(const std::string& message, int number) { throw VbError(number, message); }

std::string EngineMessage(sqlite3* db) {
  const char* message = db ? sqlite3_errmsg(db) : nullptr;
  return message ? message : "unknown database error";
}

}  // namespace vmu
