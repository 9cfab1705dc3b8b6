// The rows of a query, read one at a time from the engine: memory does not
// grow with the number of rows.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/database.h"
#include "platform/sqlite/sqlite_session.h"

namespace vmu {

class SqliteRecordset final : public Recordset {
 public:
  // statement is prepared and not yet stepped; without one the record set
  // has no fields and no rows (what a DELETE returns).
  SqliteRecordset(std::shared_ptr<SqliteSession> session, Statement statement, long count);

  bool Eof() override;
  void MoveFirst() override;
  void MoveNext() override;
  long RecordCount() override;
  int FieldCount() override;
  std::string FieldName(int index) override;
  FieldValue Value(int index) override;
  FieldValue Value(const std::string& name) override;
  void AddNew() override;
  void SetValue(const std::string& name, const FieldValue& value) override;
  int FieldIndex(const std::string& name) override;
  void SetValueAt(int index, FieldValue&& value) override;
  void Update() override;
  void Close() override;

  // The statement on its current row, for a destination that binds the
  // row's values directly; raises as Value does past the last row.
  sqlite3_stmt* CurrentRow();

 private:
  void RequireOpen() const;
  void RequireField(int index) const;
  void Step();
  int IndexOf(const std::string& name);

  std::shared_ptr<SqliteSession> session_;
  Statement statement_;
  long count_;
  std::vector<std::string> names_;
  bool eof_ = true;
  bool closed_ = false;
};

// Reads the current value of a column as it is stored.
FieldValue ColumnValue(sqlite3_stmt* statement, int index);

}  // namespace vmu
