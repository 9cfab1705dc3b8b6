// A table opened for adding rows (AddNew, SetValue, Update): one prepared
// INSERT, reused while the same fields are set, inside the connection's
// batched transactions.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/database.h"
#include "platform/sqlite/column_affinity.h"
#include "platform/sqlite/destination_table.h"
#include "platform/sqlite/held_rows.h"
#include "platform/sqlite/sqlite_session.h"

namespace vmu {

class SqliteDestination : public Recordset {
 public:
  // rows_together: whether several rows may go into one INSERT (rows_together.h).
  SqliteDestination(std::shared_ptr<SqliteSession> session, std::string table, std::vector<DestinationField> fields,
                    bool rows_together = false);
  ~SqliteDestination() override;

  // A destination shows only the row being added: it is at its end at once,
  // and RecordCount counts the rows added through it.
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
  // From a SQLite record set, binds the source row's values in place: no
  // value is copied on the way. Anything else goes the general way.
  void AddRowFrom(Recordset& source, const std::vector<int>& places) override;
  // The same, kRowsTogether rows to a statement where the table allows it
  // (rows_together.h); a statement that fails is undone and its rows go
  // again one by one, so the failing row raises as it would alone.
  void AddRowsFrom(Recordset& source, const std::vector<int>& places, long& rows, long every,
                   const std::function<void(long rows)>& progress) override;
  static constexpr int kRowsTogether = 25;
  // Drops a row that was started but not written, and commits the rows written.
  void Close() override;

 private:
  struct Field {
    DestinationField field;
    Affinity affinity;
    bool text_at_risk;  // see column_affinity.h
  };

  void RequireOpen() const;
  int IndexOf(const std::string& name);
  void CheckText(const Field& field, std::string_view text);
  void PrepareInsert(const std::vector<int>& order);
  bool Direct(const std::vector<int>& places, int source_fields);
  // Steps the bound INSERT and counts the row; raises with the engine's
  // message, the row discarded either way.
  void WriteBoundRow();
  bool TextsKept(sqlite3_stmt* row, const std::vector<int>& places) const;
  // Writes held rows [begin, end), counting each written row with `written`.
  void WriteHeld(const HeldRows& held, int begin, int end, const std::vector<int>& places,
                 const std::function<void()>& written);
  void DiscardRow();

  std::shared_ptr<SqliteSession> session_;
  std::string table_;
  std::vector<Field> fields_;
  std::vector<FieldValue> values_;
  std::vector<bool> assigned_;
  std::vector<int> order_;           // fields set on the row being added, in order
  std::vector<int> prepared_order_;  // the fields the prepared INSERT names
  Statement insert_;
  Statement together_insert_;  // kRowsTogether rows, in together_order_
  std::vector<int> together_order_;
  bool rows_together_;
  std::vector<int> direct_places_;  // the last places AddRowFrom checked
  bool direct_ = false;             // whether they can be bound in place
  bool adding_ = false;
  bool closed_ = false;
  long added_ = 0;
};

}  // namespace vmu
