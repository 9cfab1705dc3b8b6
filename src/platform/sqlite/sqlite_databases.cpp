#include "platform/sqlite/sqlite_databases.h"

#include "platform/sqlite/sqlite_connection.h"

namespace vmu {

std::unique_ptr<Connection> SqliteDatabases::NewConnection() { return std::make_unique<SqliteConnection>(fs_); }

}  // namespace vmu
