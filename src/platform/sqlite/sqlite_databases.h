// The database engine of this host: SQLite files, reached by Windows paths.
#pragma once

#include "platform/database.h"
#include "platform/file_system.h"

namespace vmu {

class SqliteDatabases : public Databases {
 public:
  // fs maps the Windows paths of connection strings onto host files.
  // jet, when given, reads the Jet files users bring as the old database.
  explicit SqliteDatabases(FileSystem& fs, JetFiles* jet = nullptr) : fs_(fs), jet_(jet) {}
  std::unique_ptr<Connection> NewConnection() override;
  JetFiles* Jet() override { return jet_; }

 private:
  FileSystem& fs_;
  JetFiles* jet_;
};

}  // namespace vmu
