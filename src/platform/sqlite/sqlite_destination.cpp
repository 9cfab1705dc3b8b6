#include "platform/sqlite/sqlite_destination.h"

#include <sqlite3.h>

#include "platform/jet/jet_text.h"

namespace vmu {

namespace {

int Bind(sqlite3_stmt* statement, int index, const FieldValue& value) {
  // Every value keeps its own type: texts are bound as texts, never made numbers.
  struct Binder {
    sqlite3_stmt* s;
    int i;
    int operator()(const Null&) const { return sqlite3_bind_null(s, i); }
    int operator()(std::int64_t v) const { return sqlite3_bind_int64(s, i, v); }
    int operator()(double v) const { return sqlite3_bind_double(s, i, v); }
    int operator()(const std::string& v) const {
      return sqlite3_bind_text64(s, i, v.data(), v.size(), SQLITE_STATIC, SQLITE_UTF8);
    }
    int operator()(const Blob& v) const {
      if (v.empty()) return sqlite3_bind_zeroblob(s, i, 0);  // a null pointer would bind NULL
      return sqlite3_bind_blob64(s, i, v.data(), v.size(), SQLITE_STATIC);
    }
  };
  return std::visit(Binder{statement, index}, value);
}

const char* kNoCurrentRecordText =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current "
    "record.";

}  // namespace

SqliteDestination::SqliteDestination(std::shared_ptr<SqliteSession> session, std::string table,
                                     std::vector<DestinationField> fields)
    : session_(std::move(session)), table_(std::move(table)) {
  for (DestinationField& field : fields) {
    Affinity affinity = AffinityOf(field.declared_type);
    bool at_risk = TextColumnWithNumberAffinity(field.declared_type);
    fields_.push_back(Field{std::move(field), affinity, at_risk});
  }
  values_.resize(fields_.size());
  assigned_.resize(fields_.size());
}

SqliteDestination::~SqliteDestination() {
  try {
    Close();
  } catch (...) {
    // A destructor cannot report; Close has committed what it could.
  }
}

void SqliteDestination::RequireOpen() const {
  if (closed_) RaiseDatabaseError("Operation is not allowed when the object is closed.", kObjectClosed);
  session_->RequireOpen();
}

bool SqliteDestination::Eof() {
  RequireOpen();
  return true;
}

void SqliteDestination::MoveFirst() { RequireOpen(); }

void SqliteDestination::MoveNext() {
  RequireOpen();
  RaiseDatabaseError(kNoCurrentRecordText, kNoCurrentRecord);
}

long SqliteDestination::RecordCount() {
  RequireOpen();
  return added_;
}

int SqliteDestination::FieldCount() {
  RequireOpen();
  return static_cast<int>(fields_.size());
}

std::string SqliteDestination::FieldName(int index) {
  if (index < 0 || index >= FieldCount())
    RaiseDatabaseError("Item cannot be found in the collection corresponding to the requested name or ordinal.",
                       kFieldNotFound);
  return fields_[index].field.name;
}

FieldValue SqliteDestination::Value(int index) {
  if (index < 0 || index >= FieldCount())
    RaiseDatabaseError("Item cannot be found in the collection corresponding to the requested name or ordinal.",
                       kFieldNotFound);
  if (!adding_) RaiseDatabaseError(kNoCurrentRecordText, kNoCurrentRecord);
  return assigned_[index] ? values_[index] : FieldValue(Null{});
}

FieldValue SqliteDestination::Value(const std::string& name) {
  RequireOpen();
  return Value(IndexOf(name));
}

int SqliteDestination::IndexOf(const std::string& name) {
  // The copy sets the same fields in the same order on every row: try the
  // field that came at this place on the previous row first.
  size_t place = order_.size();
  if (place < prepared_order_.size() && fields_[prepared_order_[place]].field.name == name)
    return prepared_order_[place];
  for (size_t i = 0; i < fields_.size(); ++i)
    if (CompareNoCase(fields_[i].field.name, name) == 0) return static_cast<int>(i);
  session_->Fail("table " + table_ + " has no column named " + name, kFieldNotFound);
}

void SqliteDestination::AddNew() {
  RequireOpen();
  if (adding_) Update();  // a row still being added is written first
  adding_ = true;
}

void SqliteDestination::SetValue(const std::string& name, const FieldValue& value) {
  RequireOpen();
  if (!adding_) session_->Fail(kNoCurrentRecordText, kNoCurrentRecord);
  SetValueAt(IndexOf(name), FieldValue(value));
}

int SqliteDestination::FieldIndex(const std::string& name) {
  RequireOpen();
  return IndexOf(name);
}

void SqliteDestination::SetValueAt(int index, FieldValue&& value) {
  RequireOpen();
  if (!adding_) session_->Fail(kNoCurrentRecordText, kNoCurrentRecord);
  if (index < 0 || index >= static_cast<int>(fields_.size()))
    session_->Fail("Item cannot be found in the collection corresponding to the requested name or ordinal.",
                   kFieldNotFound);
  if (!assigned_[index]) {
    assigned_[index] = true;
    order_.push_back(index);
  }
  values_[index] = std::move(value);
}

void SqliteDestination::CheckText(const Field& field, const FieldValue& value) {
  const std::string* text = std::get_if<std::string>(&value);
  if (!text) return;
  auto stored = StoredNumberText(*text, field.affinity);
  if (!stored || *stored == *text) return;
  std::string shown = text->size() > 40 ? text->substr(0, ByteOffset(*text, 40)) + "..." : *text;
  session_->Fail("the text '" + shown + "' for column " + field.field.column + " of table " + table_ +
                 " would be stored as the number " + *stored + ": the column's type \"" + field.field.declared_type +
                 "\" is no text type for SQLite (declare it TEXT)");
}

void SqliteDestination::PrepareInsert() {
  std::string sql = "INSERT INTO " + table_;
  if (order_.empty()) {
    sql += " DEFAULT VALUES";
  } else {
    std::string names, marks;
    for (size_t k = 0; k < order_.size(); ++k) {
      names += (k ? ", " : "") + QuotedName(fields_[order_[k]].field.column);
      marks += (k ? ", ?" : "?");
    }
    sql += " (" + names + ") VALUES (" + marks + ")";
  }
  insert_.reset();
  insert_ = session_->Prepare(sql);
  prepared_order_ = order_;
}

void SqliteDestination::DiscardRow() {
  for (int index : order_) assigned_[index] = false;
  order_.clear();
  adding_ = false;
}

void SqliteDestination::Update() {
  RequireOpen();
  if (!adding_) return;  // nothing was started: nothing to write
  int rc = SQLITE_DONE;
  std::string message;
  try {
    for (int index : order_)
      if (fields_[index].text_at_risk) CheckText(fields_[index], values_[index]);
    if (!insert_ || order_ != prepared_order_) PrepareInsert();
    sqlite3_stmt* insert = insert_.get();
    for (size_t k = 0; k < order_.size(); ++k)
      if (Bind(insert, static_cast<int>(k) + 1, values_[order_[k]]) != SQLITE_OK) session_->FailWithEngineMessage();
    session_->BeforeRow();
    rc = sqlite3_step(insert);
    if (rc != SQLITE_DONE) message = EngineMessage(session_->db());
    sqlite3_reset(insert);
    sqlite3_clear_bindings(insert);  // no pointer into this row's values stays behind
  } catch (...) {
    DiscardRow();
    throw;
  }
  DiscardRow();
  if (rc != SQLITE_DONE) session_->Fail(message);
  // A row the table's own conflict rule passes over is not counted.
  added_ += sqlite3_changes(session_->db());
  session_->AfterRow();
}

void SqliteDestination::Close() {
  if (closed_) return;
  closed_ = true;
  adding_ = false;
  insert_.reset();
  if (session_->open()) session_->CommitBatch();
}

}  // namespace vmu
