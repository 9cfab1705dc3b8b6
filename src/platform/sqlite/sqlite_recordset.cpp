#include "platform/sqlite/sqlite_recordset.h"

#include <sqlite3.h>

#include "platform/jet/jet_text.h"

namespace vmu {

FieldValue ColumnValue(sqlite3_stmt* statement, int index) {
  switch (sqlite3_column_type(statement, index)) {
    case SQLITE_INTEGER: return static_cast<std::int64_t>(sqlite3_column_int64(statement, index));
    case SQLITE_FLOAT: return sqlite3_column_double(statement, index);
    case SQLITE_TEXT: {
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
      return std::string(text, sqlite3_column_bytes(statement, index));
    }
    case SQLITE_BLOB: {
      const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, index));
      return Blob(data, data + sqlite3_column_bytes(statement, index));
    }
    default: return Null{};
  }
}

SqliteRecordset::SqliteRecordset(std::shared_ptr<SqliteSession> session, Statement statement, long count)
    : session_(std::move(session)), statement_(std::move(statement)), count_(count) {
  if (!statement_) return;
  for (int i = 0; i < sqlite3_column_count(statement_.get()); ++i) {
    const char* name = sqlite3_column_name(statement_.get(), i);
    names_.push_back(name ? name : "");
  }
  Step();
}

void SqliteRecordset::RequireOpen() const {
  if (closed_) RaiseDatabaseError("Operation is not allowed when the object is closed.", kObjectClosed);
  session_->RequireOpen();
}

void SqliteRecordset::RequireField(int index) const {
  RequireOpen();
  if (index < 0 || index >= static_cast<int>(names_.size()))
    RaiseDatabaseError("Item cannot be found in the collection corresponding to the requested name or ordinal.",
                       kFieldNotFound);
}

void SqliteRecordset::Step() {
  int rc = sqlite3_step(statement_.get());
  if (rc == SQLITE_ROW) {
    eof_ = false;
  } else if (rc == SQLITE_DONE) {
    eof_ = true;
  } else {
    eof_ = true;
    session_->FailWithEngineMessage();
  }
}

bool SqliteRecordset::Eof() {
  RequireOpen();
  return eof_;
}

void SqliteRecordset::MoveFirst() {
  RequireOpen();
  if (!statement_) return;
  sqlite3_reset(statement_.get());
  Step();
}

void SqliteRecordset::MoveNext() {
  RequireOpen();
  if (eof_) RaiseDatabaseError(kNoCurrentRecordText, kNoCurrentRecord);
  Step();
}

long SqliteRecordset::RecordCount() {
  RequireOpen();
  return count_;
}

int SqliteRecordset::FieldCount() {
  RequireOpen();
  return static_cast<int>(names_.size());
}

std::string SqliteRecordset::FieldName(int index) {
  RequireField(index);
  return names_[index];
}

FieldValue SqliteRecordset::Value(int index) {
  RequireField(index);
  return ColumnValue(CurrentRow(), index);
}

sqlite3_stmt* SqliteRecordset::CurrentRow() {
  RequireOpen();
  if (eof_) RaiseDatabaseError(kNoCurrentRecordText, kNoCurrentRecord);
  return statement_.get();
}

int SqliteRecordset::IndexOf(const std::string& name) {
  RequireOpen();
  for (size_t i = 0; i < names_.size(); ++i)
    if (CompareNoCase(names_[i], name) == 0) return static_cast<int>(i);  // names ignore case, as in Jet
  RaiseDatabaseError("no such column: " + name, kFieldNotFound);
}

FieldValue SqliteRecordset::Value(const std::string& name) { return Value(IndexOf(name)); }

void SqliteRecordset::AddNew() {
  RequireOpen();
  RaiseDatabaseError(
      "Current Recordset does not support updating. This may be a limitation of the provider, or of the selected "
      "locktype.",
      kNotUpdatable);
}

void SqliteRecordset::SetValue(const std::string&, const FieldValue&) { AddNew(); }

int SqliteRecordset::FieldIndex(const std::string&) {
  AddNew();
  return -1;
}

void SqliteRecordset::SetValueAt(int, FieldValue&&) { AddNew(); }

void SqliteRecordset::Update() { AddNew(); }

void SqliteRecordset::Close() {
  statement_.reset();
  eof_ = true;
  closed_ = true;
}

}  // namespace vmu
