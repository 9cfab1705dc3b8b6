// Database access as the conversion and the comparison report use it:
// connections, record sets and fields. The host implements it on SQLite.
// Every failure raises a VbError whose description is the engine's message.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/jet_files.h"

namespace vmu {

// What reading or changing a row past the last one reports, as the data
// provider numbered and worded it.
inline constexpr int kNoCurrentRecord = 3021;
inline constexpr const char* kNoCurrentRecordText =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation requires a current "
    "record.";

struct Null {
  bool operator==(const Null&) const = default;
};
using Blob = std::vector<std::uint8_t>;
// A field's value: null, whole number, real number, text or binary.
using FieldValue = std::variant<Null, std::int64_t, double, std::string, Blob>;

class Recordset {
 public:
  virtual ~Recordset() = default;

  // True past the last row; true at once for an empty result.
  virtual bool Eof() = 0;
  virtual void MoveFirst() = 0;
  virtual void MoveNext() = 0;
  // The exact number of rows, known right after the query.
  virtual long RecordCount() = 0;

  // Fields in column order.
  virtual int FieldCount() = 0;
  virtual std::string FieldName(int index) = 0;
  virtual FieldValue Value(int index) = 0;
  // The field of that name in the current row; raises when there is none.
  virtual FieldValue Value(const std::string& name) = 0;

  // Adding rows, on a record set opened for that (Connection::OpenForAdding).
  virtual void AddNew() = 0;
  // Raises when the destination has no field of that name.
  virtual void SetValue(const std::string& name, const FieldValue& value) = 0;
  // The place of the field that SetValue would set under that name; raises
  // as SetValue does. Lets a copy look each name up once, not once a row.
  virtual int FieldIndex(const std::string& name) = 0;
  // Sets the field at that place, taking the value over.
  virtual void SetValueAt(int index, FieldValue&& value) = 0;
  // Writes the new row; raises when it breaks a rule of the table.
  virtual void Update() = 0;
  // Adds the current row of `source` as one new row, the source's field i
  // going to the field at places[i]: the same as AddNew, SetValueAt for each
  // field and Update, with the same errors. An engine may hand the values
  // straight from one statement to the other instead of copying each one.
  virtual void AddRowFrom(Recordset& source, const std::vector<int>& places) {
    AddNew();
    for (size_t i = 0; i < places.size(); ++i) SetValueAt(places[i], source.Value(static_cast<int>(i)));
    Update();
  }
  // Adds the rows of `source` from its current one to its end, as AddRowFrom
  // and MoveNext would one row at a time, raising what they would raise.
  // `rows` counts the rows added and moved past; each `every`th is passed to
  // `progress`. An engine may put several rows into one statement.
  virtual void AddRowsFrom(Recordset& source, const std::vector<int>& places, long& rows, long every,
                           const std::function<void(long rows)>& progress) {
    while (!source.Eof()) {
      AddRowFrom(source, places);
      source.MoveNext();
      if (++rows % every == 0) progress(rows);
    }
  }

  virtual void Close() = 0;
};

// One INSERT ... SELECT from a database attached read-only, for a copy
// whose result the engine can prove equal to adding the rows one by one.
struct SetCopy {
  std::string source_database;  // connection string of the database the query reads
  std::string query;            // Jet SQL on that database
  std::string destination;      // a table name or a SELECT on one table, as for OpenForAdding
  // Called now and then while the rows go in, with the rows done so far.
  std::function<void(long rows_done)> progress;
};

struct SetCopyOutcome {
  // False: nothing was written, and the rows must go one by one; `reason`
  // says why (a case the statement cannot prove equal, or its error).
  bool copied = false;
  long rows = 0;
  std::string reason;
};

class Connection {
 public:
  virtual ~Connection() = default;

  // Opens by a connection string in the Jet form ("...Data Source= <path>;...").
  virtual void Open(const std::string& connection_string) = 0;
  // The same, for reading only: whatever SQL runs on it, the file stays as it is.
  virtual void OpenReadOnly(const std::string& connection_string) = 0;
  virtual bool IsOpen() const = 0;
  // Runs SQL (Jet dialect, translated for the engine). A query returns its
  // record set on its first row; other statements return an empty one.
  virtual std::unique_ptr<Recordset> Execute(const std::string& sql) = 0;
  // Opens a table name or a SELECT on one table as a destination for new rows.
  virtual std::unique_ptr<Recordset> OpenForAdding(const std::string& source) = 0;
  // Copies in one statement inside a savepoint; on any doubt or error it
  // writes nothing and says so. An engine without it always says so.
  virtual SetCopyOutcome CopyBySet(const SetCopy&) { return {false, 0, "the engine copies row by row only"}; }
  virtual void Close() = 0;
};

// Makes connections; the host's is SQLite.
class Databases {
 public:
  virtual ~Databases() = default;
  virtual std::unique_ptr<Connection> NewConnection() = 0;
  // The reader of Jet files, when this host has one; without it every
  // database is taken to be the engine's own.
  virtual JetFiles* Jet() { return nullptr; }
};

}  // namespace vmu
