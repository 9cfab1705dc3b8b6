#include "platform/mdb/jet_to_sqlite.h"

#include <sqlite3.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/error.h"
#include "platform/mdb/jet_long_value.h"
#include "platform/mdb/jet_values.h"
#include "platform/mdb/libmdb.h"

namespace vmu {

namespace {

// Thrown inside the copy when the Jet file does not hold what it claims.
struct Unreadable {
  std::string detail;
};

std::string Quoted(const std::string& name) {
  std::string q = "\"";
  for (char c : name) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

// The declared type of the copy's column: SQLite's affinity then matches
// what Jet holds. Currency and Decimal get none, so that a value kept as
// text for its digits is not turned into a real.
const char* DeclaredType(int jet_type) {
  switch (jet_type) {
    case MDB_BOOL: return "YESNO";
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX: return "INTEGER";
    case MDB_FLOAT:
    case MDB_DOUBLE: return "REAL";
    case MDB_DATETIME: return "DATETIME";
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_REPID: return "TEXT";
    case MDB_MONEY:
    case MDB_NUMERIC: return "";
    default: return "BLOB";
  }
}

class Sqlite {
 public:
  explicit Sqlite(const std::string& file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) Fail();
    // A scratch copy, made again after any failure: no journal, no waiting
    // for the disk until the end.
    Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
  }
  ~Sqlite() {
    if (insert_) sqlite3_finalize(insert_);
    sqlite3_close(db_);
  }
  void Exec(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
  }
  void Prepare(const std::string& sql) {
    if (insert_) sqlite3_finalize(insert_);
    insert_ = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &insert_, nullptr) != SQLITE_OK) Fail();
  }
  void Bind(int place, const FieldValue& v) {
    int rc = SQLITE_OK;
    if (std::holds_alternative<Null>(v)) rc = sqlite3_bind_null(insert_, place);
    else if (const auto* i = std::get_if<std::int64_t>(&v)) rc = sqlite3_bind_int64(insert_, place, *i);
    else if (const auto* d = std::get_if<double>(&v)) rc = sqlite3_bind_double(insert_, place, *d);
    else if (const auto* s = std::get_if<std::string>(&v))
      rc = sqlite3_bind_text64(insert_, place, s->data(), s->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    else {
      // An empty blob has no data pointer, which SQLite would take for null.
      const Blob& b = std::get<Blob>(v);
      rc = b.empty() ? sqlite3_bind_zeroblob(insert_, place, 0)
                     : sqlite3_bind_blob64(insert_, place, b.data(), b.size(), SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK) Fail();
  }
  void Insert() {
    if (sqlite3_step(insert_) != SQLITE_DONE) Fail();
    sqlite3_reset(insert_);
  }
  void Commit() { Exec("COMMIT"); }

 private:
  [[noreturn]] void Fail() {
    const int code = db_ ? sqlite3_errcode(db_) : SQLITE_CANTOPEN;
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    if (code == SQLITE_FULL) Raise(kDiskFull);
    Raise(kPathFileAccessError, message);
  }
  sqlite3* db_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
};

struct MdbCloser {
  void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableCloser {
  void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

// The bytes of one field on the current page, checked against the page.
std::string_view FieldBytes(MdbHandle* mdb, const MdbField& f, int at_least) {
  if (f.siz < at_least || f.start < 0 || f.start + f.siz > mdb->fmt->pg_size)
    throw Unreadable{"a field lies outside its page"};
  return {reinterpret_cast<const char*>(mdb->pg_buf) + f.start, static_cast<size_t>(f.siz)};
}

std::string TextOf(MdbHandle* mdb, std::string_view bytes) {
  return IS_JET3(mdb) ? Jet3TextToUtf8(bytes, mdb->f->code_page) : Jet4TextToUtf8(bytes);
}

FieldValue ValueOf(MdbHandle* mdb, MdbColumn* col, const MdbField& f) {
  if (col->col_type == MDB_BOOL) return std::int64_t{f.is_null ? 0 : 1};  // the null bit holds the value
  if (f.is_null) return Null{};
  const auto b = [&](int size) { return reinterpret_cast<const unsigned char*>(FieldBytes(mdb, f, size).data()); };
  switch (col->col_type) {
    case MDB_BYTE: return std::int64_t{b(1)[0]};
    case MDB_INT: {
      const unsigned char* p = b(2);
      return std::int64_t{static_cast<std::int16_t>(p[0] | p[1] << 8)};
    }
    case MDB_LONGINT:
    case MDB_COMPLEX: {
      const unsigned char* p = b(4);
      return std::int64_t{
          static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24)};
    }
    case MDB_FLOAT: {
      float v;
      std::memcpy(&v, b(4), 4);
      return SingleValue(v);
    }
    case MDB_DOUBLE: {
      double v;
      std::memcpy(&v, b(8), 8);
      return v;
    }
    case MDB_DATETIME: {
      double v;
      std::memcpy(&v, b(8), 8);
      return DateValue(v);
    }
    case MDB_MONEY: return CurrencyValue(b(8));
    // libmdb reads a column's precision and scale into each other's fields.
    case MDB_NUMERIC: return DecimalValue(b(17), col->col_prec);
    case MDB_REPID: return GuidText(b(16));
    case MDB_TEXT: return TextOf(mdb, FieldBytes(mdb, f, 0));
    case MDB_MEMO: {
      std::string bytes;
      if (!ReadLongValue(mdb, FieldBytes(mdb, f, 0), bytes)) throw Unreadable{"a memo field cannot be read"};
      return TextOf(mdb, bytes);
    }
    case MDB_OLE: {
      std::string bytes;
      if (!ReadLongValue(mdb, FieldBytes(mdb, f, 0), bytes)) throw Unreadable{"an OLE field cannot be read"};
      return Blob(bytes.begin(), bytes.end());
    }
    default: {
      const std::string_view bytes = FieldBytes(mdb, f, 0);
      return Blob(bytes.begin(), bytes.end());
    }
  }
}

// Every row of the table, in the order of its pages, as libmdb's own scan
// reads them; but with the null flag of each field, which that scan drops
// (a zero-length text is not a null).
long CopyRows(MdbHandle* mdb, MdbTableDef* table, Sqlite& out) {
  std::vector<MdbField> fields(table->num_cols);
  long copied = 0;
  mdb_rewind_table(table);
  table->cur_pg_num = 1;
  if (!mdb_read_next_dpg(table)) return 0;
  for (;;) {
    const unsigned rows = mdb_get_int16(mdb->pg_buf, mdb->fmt->row_count_offset);
    if (table->cur_row >= rows) {
      table->cur_row = 0;
      if (!mdb_read_next_dpg(table)) return copied;
      continue;
    }
    const int row = static_cast<int>(table->cur_row++);
    int start = 0;
    size_t size = 0;
    if (mdb_find_row(mdb, row, &start, &size) == -1 || size == 0) continue;
    if (start & 0x4000) continue;  // deleted
    start &= 0x1fff;
    if (mdb_crack_row(table, start, size, fields.data()) < 0) throw Unreadable{"a row of " + std::string(table->name)};
    for (unsigned i = 0; i < table->num_cols; ++i) {
      auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
      out.Bind(static_cast<int>(i) + 1, ValueOf(mdb, col, fields[i]));
    }
    out.Insert();
    ++copied;
  }
}

long CopyTable(MdbCatalogEntry* entry, Sqlite& out) {
  std::unique_ptr<MdbTableDef, TableCloser> table(mdb_read_table(entry));
  if (!table || !mdb_read_columns(table.get())) throw Unreadable{"the table " + std::string(entry->object_name)};
  std::string create = "CREATE TABLE " + Quoted(entry->object_name) + " (";
  std::string insert = "INSERT INTO " + Quoted(entry->object_name) + " VALUES (";
  for (unsigned i = 0; i < table->num_cols; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    create += (i ? ", " : "") + Quoted(col->name) + " " + DeclaredType(col->col_type);
    insert += i ? ", ?" : "?";
  }
  if (table->num_cols == 0) return 0;
  out.Exec(create + ")");
  out.Prepare(insert + ")");
  return CopyRows(entry->mdb, table.get(), out);
}

}  // namespace

JetCopyOutcome CopyJetTablesToSqlite(const std::string& jet_file, const std::string& sqlite_file) {
  JetCopyOutcome outcome;
  std::unique_ptr<MdbHandle, MdbCloser> mdb(mdb_open(jet_file.c_str(), MDB_NOFLAGS));
  if (!mdb) return {JetCopyOutcome::Kind::kUnreadable, "not a Jet database"};
  if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
    // Access 2007 and later encrypt every page after the first with the
    // password; then not even the catalog can be read.
    if (mdb->f->jet_version >= MDB_VER_ACCDB_2007) return {JetCopyOutcome::Kind::kEncrypted, "encrypted"};
    return {JetCopyOutcome::Kind::kUnreadable, "the catalog cannot be read"};
  }
  Sqlite out(sqlite_file);
  try {
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
      auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
      if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry)) continue;
      outcome.rows += CopyTable(entry, out);
      ++outcome.tables;
    }
  } catch (const Unreadable& e) {
    return {JetCopyOutcome::Kind::kUnreadable, e.detail};
  }
  out.Commit();
  return outcome;
}

}  // namespace vmu
