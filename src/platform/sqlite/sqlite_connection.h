// A connection to one SQLite database file, opened by a Jet connection
// string whose Data Source is a Windows path.
#pragma once

#include <memory>
#include <string>

#include "platform/database.h"
#include "platform/file_system.h"
#include "platform/sqlite/destination_table.h"
#include "platform/sqlite/sqlite_session.h"

namespace vmu {

class SqliteConnection : public Connection {
 public:
  explicit SqliteConnection(FileSystem& fs) : fs_(fs) {}
  ~SqliteConnection() override;

  // Opens an existing database for reading and writing: a missing file fails
  // (no empty database is made), and so does a file the engine cannot read
  // or one another program holds locked (after a short wait).
  void Open(const std::string& connection_string) override;
  void OpenReadOnly(const std::string& connection_string) override;
  bool IsOpen() const override;
  std::unique_ptr<Recordset> Execute(const std::string& sql) override;
  std::unique_ptr<Recordset> OpenForAdding(const std::string& source) override;
  SetCopyOutcome CopyBySet(const SetCopy& copy) override;
  void Close() override;

  // The table and fields that OpenForAdding would write to, with their
  // declared types; raises as OpenForAdding does.
  DestinationTable DescribeForAdding(const std::string& source);

  // How long a statement waits for a lock that another program holds.
  static constexpr int kBusyTimeoutMs = 1000;

 private:
  std::shared_ptr<SqliteSession>& Session();
  void OpenWith(const std::string& connection_string, int access);

  FileSystem& fs_;
  std::shared_ptr<SqliteSession> session_;
};

}  // namespace vmu
