// The database engine of this host: SQLite files, reached by Windows paths.
#pragma once

#include "platform/database.h"
#include "platform/file_system.h"

namespace vmu {

class SqliteDatabases : public Databases {
 public:
  // fs maps the Windows paths of connection strings onto host files.
  explicit SqliteDatabases(FileSystem& fs) : fs_(fs) {}
  std::unique_ptr<Connection> NewConnection() override;

 private:
  FileSystem& fs_;
};

}  // namespace vmu
