#include "platform/sqlite/sqlite_destination.h"

#include <sqlite3.h>

#include <typeinfo>

#include "platform/jet/jet_text.h"
#include "platform/sqlite/sqlite_recordset.h"

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

// Binds a value of the source row as the row holds it. Texts and blobs are
// bound in place: the row stays on them until the INSERT has run.
int BindValue(sqlite3_stmt* statement, int index, sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: return sqlite3_bind_int64(statement, index, sqlite3_value_int64(value));
    case SQLITE_FLOAT: return sqlite3_bind_double(statement, index, sqlite3_value_double(value));
    case SQLITE_TEXT: {
      const unsigned char* text = sqlite3_value_text(value);
      return sqlite3_bind_text64(statement, index, text ? reinterpret_cast<const char*>(text) : "",
                                 sqlite3_value_bytes(value), SQLITE_STATIC, SQLITE_UTF8);
    }
    case SQLITE_BLOB: {
      const void* data = sqlite3_value_blob(value);
      const int bytes = sqlite3_value_bytes(value);
      if (bytes == 0) return sqlite3_bind_zeroblob(statement, index, 0);  // as Bind does
      return sqlite3_bind_blob64(statement, index, data, bytes, SQLITE_STATIC);
    }
    default: return sqlite3_bind_null(statement, index);
  }
}

std::string_view ValueText(sqlite3_value* value) {
  const unsigned char* text = sqlite3_value_text(value);
  if (!text) return {};
  return {reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_value_bytes(value))};
}

}  // namespace

SqliteDestination::SqliteDestination(std::shared_ptr<SqliteSession> session, std::string table,
                                     std::vector<DestinationField> fields, bool rows_together)
    : session_(std::move(session)), table_(std::move(table)), rows_together_(rows_together) {
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

void SqliteDestination::CheckText(const Field& field, std::string_view text) {
  auto stored = StoredNumberText(text, field.affinity);
  if (!stored || *stored == text) return;
  std::string whole(text);
  std::string shown = whole.size() > 40 ? whole.substr(0, ByteOffset(whole, 40)) + "..." : whole;
  session_->Fail("the text '" + shown + "' for column " + field.field.column + " of table " + table_ +
                 " would be stored as the number " + *stored + ": the column's type \"" + field.field.declared_type +
                 "\" is no text type for SQLite (declare it TEXT)");
}

void SqliteDestination::PrepareInsert(const std::vector<int>& order) {
  std::string sql = "INSERT INTO " + table_;
  if (order.empty()) {
    sql += " DEFAULT VALUES";
  } else {
    std::string names, marks;
    for (size_t k = 0; k < order.size(); ++k) {
      names += (k ? ", " : "") + QuotedName(fields_[order[k]].field.column);
      marks += (k ? ", ?" : "?");
    }
    sql += " (" + names + ") VALUES (" + marks + ")";
  }
  insert_.reset();
  insert_ = session_->Prepare(sql);
  prepared_order_ = order;
}

void SqliteDestination::DiscardRow() {
  for (int index : order_) assigned_[index] = false;
  order_.clear();
  adding_ = false;
}

void SqliteDestination::WriteBoundRow() {
  sqlite3_stmt* insert = insert_.get();
  int rc = SQLITE_DONE;
  std::string message;
  try {
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

void SqliteDestination::Update() {
  RequireOpen();
  if (!adding_) return;  // nothing was started: nothing to write
  try {
    for (int index : order_) {
      const std::string* text = std::get_if<std::string>(&values_[index]);
      if (text && fields_[index].text_at_risk) CheckText(fields_[index], *text);
    }
    if (!insert_ || order_ != prepared_order_) PrepareInsert(order_);
    sqlite3_stmt* insert = insert_.get();
    for (size_t k = 0; k < order_.size(); ++k)
      if (Bind(insert, static_cast<int>(k) + 1, values_[order_[k]]) != SQLITE_OK) session_->FailWithEngineMessage();
  } catch (...) {
    DiscardRow();
    throw;
  }
  WriteBoundRow();
}

// Binding in place needs each source field to go to a field of its own; the
// copy passes the same places on every row, so they are checked once.
bool SqliteDestination::Direct(const std::vector<int>& places, int source_fields) {
  if (places == direct_places_) return direct_;
  direct_places_ = places;
  direct_ = !places.empty() && places.size() <= static_cast<size_t>(source_fields);
  std::vector<bool> taken(fields_.size());
  for (int place : places) {
    if (!direct_) break;
    direct_ = place >= 0 && place < static_cast<int>(fields_.size()) && !taken[place];
    if (direct_) taken[place] = true;
  }
  return direct_;
}

void SqliteDestination::AddRowFrom(Recordset& source, const std::vector<int>& places) {
  if (typeid(source) != typeid(SqliteRecordset)) return Recordset::AddRowFrom(source, places);
  auto& rows = static_cast<SqliteRecordset&>(source);
  if (!Direct(places, rows.FieldCount())) return Recordset::AddRowFrom(source, places);
  AddNew();
  sqlite3_stmt* row = rows.CurrentRow();
  try {
    for (size_t k = 0; k < places.size(); ++k) {
      const Field& field = fields_[places[k]];
      if (!field.text_at_risk) continue;
      sqlite3_value* value = sqlite3_column_value(row, static_cast<int>(k));
      if (sqlite3_value_type(value) == SQLITE_TEXT) CheckText(field, ValueText(value));
    }
    if (!insert_ || places != prepared_order_) PrepareInsert(places);
    sqlite3_stmt* insert = insert_.get();
    for (size_t k = 0; k < places.size(); ++k)
      if (BindValue(insert, static_cast<int>(k) + 1, sqlite3_column_value(row, static_cast<int>(k))) != SQLITE_OK)
        session_->FailWithEngineMessage();
  } catch (...) {
    DiscardRow();
    throw;
  }
  WriteBoundRow();
}

bool SqliteDestination::TextsKept(sqlite3_stmt* row, const std::vector<int>& places) const {
  for (size_t k = 0; k < places.size(); ++k) {
    const Field& field = fields_[places[k]];
    if (!field.text_at_risk) continue;
    sqlite3_value* value = sqlite3_column_value(row, static_cast<int>(k));
    if (sqlite3_value_type(value) != SQLITE_TEXT) continue;
    const std::string_view text = ValueText(value);
    auto stored = StoredNumberText(text, field.affinity);
    if (stored && *stored != text) return false;
  }
  return true;
}

void SqliteDestination::WriteHeld(const HeldRows& held, int begin, int end, const std::vector<int>& places,
                                  const std::function<void()>& written) {
  if (begin == 0 && end == kRowsTogether) {
    if (!together_insert_ || places != together_order_) {
      std::string sql = "INSERT INTO " + table_ + " (";
      for (size_t k = 0; k < places.size(); ++k) sql += (k ? ", " : "") + QuotedName(fields_[places[k]].field.column);
      std::string marks = "(?";
      for (size_t k = 1; k < places.size(); ++k) marks += ", ?";
      marks += ")";
      sql += ") VALUES " + marks;
      for (int r = 1; r < kRowsTogether; ++r) sql += ", " + marks;
      together_insert_.reset();
      together_insert_ = session_->Prepare(sql);
      together_order_ = places;
    }
    sqlite3_stmt* insert = together_insert_.get();
    const int fields = static_cast<int>(places.size());
    int rc = SQLITE_OK;
    for (int r = 0; r < kRowsTogether && rc == SQLITE_OK; ++r) rc = held.Bind(insert, 1 + r * fields, r);
    if (rc == SQLITE_OK) {
      session_->BeforeRow();
      rc = sqlite3_step(insert);
    }
    sqlite3_reset(insert);
    sqlite3_clear_bindings(insert);
    if (rc == SQLITE_DONE) {
      added_ += sqlite3_changes(session_->db());
      for (int r = 0; r < kRowsTogether; ++r) {
        session_->AfterRow();
        written();
      }
      return;
    }
    // The statement undid itself: the rows go again one by one.
  }
  for (int r = begin; r < end; ++r) {
    if (!insert_ || places != prepared_order_) PrepareInsert(places);
    if (held.Bind(insert_.get(), 1, r) != SQLITE_OK) {
      sqlite3_clear_bindings(insert_.get());
      session_->FailWithEngineMessage();
    }
    WriteBoundRow();
    written();
  }
}

void SqliteDestination::AddRowsFrom(Recordset& source, const std::vector<int>& places, long& rows, long every,
                                    const std::function<void(long rows)>& progress) {
  if (!rows_together_ || typeid(source) != typeid(SqliteRecordset) || !Direct(places, source.FieldCount()))
    return Recordset::AddRowsFrom(source, places, rows, every, progress);
  RequireOpen();
  if (adding_ && !source.Eof()) Update();  // as AddNew would on the first row
  auto& from = static_cast<SqliteRecordset&>(source);
  const auto count = [&] {
    if (++rows % every == 0) progress(rows);
  };
  HeldRows held(static_cast<int>(places.size()));
  while (!from.Eof()) {
    sqlite3_stmt* row = from.CurrentRow();
    if (!TextsKept(row, places)) {
      // The rows before it go in first; this one is refused as it would be alone.
      WriteHeld(held, 0, held.size(), places, count);
      held.Clear();
      AddRowFrom(source, places);
      from.MoveNext();
      count();
      continue;
    }
    held.Add(row);
    try {
      from.MoveNext();
    } catch (...) {
      // Alone, this row would have been written before the step failed, and not counted.
      WriteHeld(held, 0, held.size() - 1, places, count);
      WriteHeld(held, held.size() - 1, held.size(), places, [] {});
      throw;
    }
    if (held.size() == kRowsTogether) {
      WriteHeld(held, 0, kRowsTogether, places, count);
      held.Clear();
    }
  }
  WriteHeld(held, 0, held.size(), places, count);
}

void SqliteDestination::Close() {
  if (closed_) return;
  closed_ = true;
  adding_ = false;
  insert_.reset();
  if (session_->open()) session_->CommitBatch();
}

}  // namespace vmu
