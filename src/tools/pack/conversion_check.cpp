#include "tools/pack/conversion_check.h"

#include <filesystem>
#include <memory>
#include <optional>

#include "conversion/conversion_texts.h"
#include "conversion/field_values.h"
#include "platform/error.h"
#include "platform/host/host_file_system.h"
#include "platform/jet/jet_text.h"
#include "platform/sqlite/column_affinity.h"
#include "platform/sqlite/sqlite_connection.h"
#include "tools/pack/delete_order_check.h"
#include "tools/pack/jet_sample.h"

namespace vmu::pack {

namespace {

// The conversion reads the versions with these words.
constexpr const char* kVersionQuery = "SELECT * FROM Tbl_About WHERE CurrentVersion=True";
constexpr const char* kControlQuery = "select * from TblTabels ORDER BY OrderUpdate";
constexpr const char* kDeleteOrderQuery = "select * from TblTabels ORDER BY OrderDelete";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string MessageOf(const std::exception& e) {
  if (const auto* vb = dynamic_cast<const VbError*>(&e)) return vb->description();
  return e.what();
}

struct ControlRow {
  std::string tabelnaam, query, query_dest;
  bool delete_target = false;
};

class Checker {
 public:
  Checker(const ConversionCheckFiles& files, ConversionCheck& out) : files_(files), out_(out) {}

  void Run() {
    new_name_ = std::filesystem::path(files_.new_db).filename().string();
    control_name_ = std::filesystem::path(files_.control_db).filename().string();
    old_name_ = std::filesystem::path(files_.old_db).filename().string() + " (--old-db)";
    new_db_ = Open(files_.new_db, new_name_);
    control_db_ = Open(files_.control_db, control_name_);
    if (!files_.old_db.empty()) OpenSample();
    if (old_db_) CheckVersion(*old_db_, old_name_, "ConvFromVer", files_.from_version);
    if (new_db_) CheckVersion(*new_db_, new_name_, "ConvToVer", files_.to_version);
    if (!control_db_) return;
    std::vector<ControlRow> rows;
    try {
      rows = ReadControlRows();
    } catch (const std::exception& e) {
      Problem(control_name_ + ": TblTabels cannot be read: " + MessageOf(e));
      return;
    }
    if (!new_db_) return;
    for (const ControlRow& row : rows) CheckRow(row);
    CheckDeleteOrder();
  }

 private:
  void Problem(std::string line) { out_.problems.push_back(std::move(line)); }

  // Read only: checking must not change the package or the sample.
  std::unique_ptr<SqliteConnection> Open(const std::string& host_path, const std::string& name) {
    auto conn = std::make_unique<SqliteConnection>(fs_);
    try {
      conn->OpenReadOnly(ConnectionString(fs_.WindowsPath(std::filesystem::absolute(host_path).string())));
    } catch (const std::exception& e) {
      Problem(name + ": cannot be opened: " + MessageOf(e));
      return nullptr;
    }
    return conn;
  }

  // A Jet sample is read through its SQLite copy, as the conversion reads it.
  void OpenSample() {
    try {
      sample_ = std::make_unique<SampleDatabase>(files_.old_db);
    } catch (const std::exception& e) {
      Problem(old_name_ + ": cannot be opened: " + MessageOf(e));
      return;
    }
    old_db_ = Open(sample_->path(), old_name_);
  }

  // A version without a value passes, as it does in the conversion.
  void CheckVersion(Connection& db, const std::string& name, const char* key, const std::string& expected) {
    try {
      std::unique_ptr<Recordset> rows = db.Execute(kVersionQuery);
      if (rows->Eof()) {
        Problem(name + ": Tbl_About has no row with CurrentVersion=True; the conversion stops there");
        return;
      }
      const std::optional<std::string> version = FieldText(rows->Value("Version"));
      if (version && *version != expected)
        Problem(name + ": Tbl_About gives version " + Quoted(*version) + " but the manifest's " + key + " is " +
                Quoted(expected));
    } catch (const std::exception& e) {
      Problem(name + ": Tbl_About cannot be read: " + MessageOf(e));
    }
  }

  std::vector<ControlRow> ReadControlRows() {
    std::vector<ControlRow> rows;
    std::unique_ptr<Recordset> control = control_db_->Execute(kControlQuery);
    while (!control->Eof()) {
      ControlRow& row = rows.emplace_back();
      row.tabelnaam = JoinedText(control->Value("tabelnaam"));
      row.query = JoinedText(control->Value("query"));
      row.query_dest = JoinedText(control->Value("QueryDest"));
      row.delete_target = FieldIsTrue(control->Value("DeleteTarget"));
      control->MoveNext();
    }
    return rows;
  }

  // The field names the query returns on the sample, or nothing.
  std::optional<std::vector<std::string>> QueryFields(const ControlRow& row, const std::string& where) {
    if (!old_db_) return std::nullopt;
    try {
      std::unique_ptr<Recordset> records = old_db_->Execute(row.query);
      std::vector<std::string> names;
      for (int i = 0; i < records->FieldCount(); ++i) names.push_back(records->FieldName(i));
      records->Close();
      return names;
    } catch (const std::exception& e) {
      Problem(where + "the query does not run on " + old_name_ + ": " + MessageOf(e));
      return std::nullopt;
    }
  }

  void CheckRow(const ControlRow& row) {
    const std::string where = control_name_ + ": row " + Quoted(row.tabelnaam) + ": ";
    if (row.delete_target) {
      try {
        new_db_->Execute("select * from " + row.tabelnaam + " where 1=0")->Close();
      } catch (const std::exception& e) {
        Problem(where + "DeleteTarget empties table " + Quoted(row.tabelnaam) + ", which " + new_name_ +
                " lacks: " + MessageOf(e));
      }
    }
    const std::optional<std::vector<std::string>> fields = QueryFields(row, where);
    std::optional<DestinationTable> destination;
    try {
      destination = new_db_->DescribeForAdding(row.query_dest);
    } catch (const std::exception& e) {
      Problem(where + "QueryDest " + Quoted(row.query_dest) + " does not open on " + new_name_ + ": " + MessageOf(e));
      return;
    }
    if (!fields) {
      for (const DestinationField& field : destination->fields) WarnTextType(where, *destination, field);
      return;
    }
    for (const std::string& name : *fields) {
      const DestinationField* match = nullptr;
      for (const DestinationField& field : destination->fields)
        if (CompareNoCase(field.name, name) == 0) match = &field;
      if (match) WarnTextType(where, *destination, *match);
      else
        Problem(where + "field " + Quoted(name) + " of the query is not in QueryDest " + Quoted(row.query_dest) +
                "; the conversion stops at its first row with error 3265");
    }
  }

  // Passed over when the control table or a table's keys cannot be read:
  // those faults have their own lines.
  void CheckDeleteOrder() {
    std::vector<EmptiedTable> emptied;
    try {
      std::unique_ptr<Recordset> control = control_db_->Execute(kDeleteOrderQuery);
      for (; !control->Eof(); control->MoveNext())
        if (FieldIsTrue(control->Value("DeleteTarget")))
          emptied.push_back({JoinedText(control->Value("tabelnaam")), {}});
      for (EmptiedTable& table : emptied) {
        std::string literal;
        for (char c : table.tabelnaam) literal += c == '\'' ? std::string("''") : std::string(1, c);
        std::unique_ptr<Recordset> keys = new_db_->Execute("SELECT * FROM pragma_foreign_key_list('" + literal + "')");
        for (; !keys->Eof(); keys->MoveNext()) table.references.push_back(JoinedText(keys->Value("table")));
      }
    } catch (const std::exception&) {
      return;
    }
    for (std::string& line : DeleteOrderWarnings(emptied, control_name_ + ": "))
      out_.warnings.push_back(std::move(line));
  }

  // The row path refuses a text of digits in such a column rather than
  // change it, so the conversion stops at the first user who has one.
  void WarnTextType(const std::string& where, const DestinationTable& table, const DestinationField& field) {
    if (!TextColumnWithNumberAffinity(field.declared_type)) return;
    out_.warnings.push_back(where + "field " + Quoted(field.name) + " of table " + Quoted(table.table) +
                            " is declared " + Quoted(field.declared_type) +
                            ", where SQLite stores a text of digits as a number; the conversion stops at a value "
                            "such as \"007\"; declare the column TEXT");
  }

  const ConversionCheckFiles& files_;
  ConversionCheck& out_;
  // Host paths only, which the drive map gives as Z: paths.
  HostFileSystem fs_{DriveMap("/")};
  std::string new_name_, control_name_, old_name_;
  std::unique_ptr<SampleDatabase> sample_;  // outlives the connection on it
  std::unique_ptr<SqliteConnection> new_db_, control_db_, old_db_;
};

}  // namespace

ConversionCheck CheckConversion(const ConversionCheckFiles& files) {
  ConversionCheck check;
  Checker(files, check).Run();
  return check;
}

}  // namespace vmu::pack
