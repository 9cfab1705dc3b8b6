#include "platform/sqlite/sqlite_exec.h"

#include <sqlite3.h>

#include "platform/error.h"

namespace vmu {

void ExecuteSql(const std::string& host_path, const std::string& sql) {
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(host_path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    Raise(kPathFileAccessError, message);
  }
  char* error = nullptr;
  rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  if (rc != SQLITE_OK) Raise(kPathFileAccessError, message);
}

}  // namespace vmu
