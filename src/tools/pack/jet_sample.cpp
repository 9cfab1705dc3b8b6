#include "tools/pack/jet_sample.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/host/host_file_system.h"
#include "platform/mdb/mdb_jet_files.h"
#include "tools/pack/file_io.h"

namespace vmu::pack {

namespace {

std::string Windows(HostFileSystem& fs, const std::string& host_path) {
  return fs.WindowsPath(std::filesystem::absolute(host_path).string());
}

// Copies a Jet file; raises a PackError that says why it cannot be read.
void CopyJet(const std::string& jet_db, const std::string& out_db) {
  HostFileSystem fs{DriveMap("/")};
  MdbJetFiles jet(fs);
  const JetCopyOutcome outcome = jet.CopyToSqlite(Windows(fs, jet_db), Windows(fs, out_db));
  if (outcome.kind == JetCopyOutcome::Kind::kEncrypted)
    throw PackError(jet_db + ": encrypted with a password; it cannot be read");
  if (outcome.kind == JetCopyOutcome::Kind::kUnreadable)
    throw PackError(jet_db + ": damaged, it cannot be read (" + outcome.detail + ")");
}

DatabaseFormat FormatOfFile(const std::string& host_path) {
  HostFileSystem fs{DriveMap("/")};
  MdbJetFiles jet(fs);
  const DatabaseFormat format = jet.FormatOf(Windows(fs, host_path));
  if (format == DatabaseFormat::kMissing) RaiseErrno("cannot read the database", host_path);
  if (format == DatabaseFormat::kUnknown) throw PackError(host_path + ": neither a SQLite nor a Jet database");
  return format;
}

}  // namespace

SampleDatabase::SampleDatabase(const std::string& host_path) : path_(host_path) {
  if (!IsJet(FormatOfFile(host_path))) return;
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vmu-jet-XXXXXX";
  if (!::mkdtemp(pattern.data())) RaiseErrno("cannot make a temporary folder", pattern);
  folder_ = pattern;
  path_ = folder_ + "/" + std::filesystem::path(host_path).filename().string() + ".sqlite";
  try {
    CopyJet(host_path, path_);
  } catch (...) {
    std::filesystem::remove_all(folder_);
    throw;
  }
}

SampleDatabase::~SampleDatabase() {
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

int JetToSqlite(const std::string& jet_db, const std::string& out_db, std::ostream& out) {
  if (!IsJet(FormatOfFile(jet_db))) throw PackError(jet_db + ": not a Jet database");
  if (std::filesystem::exists(out_db)) throw PackError(out_db + ": exists already");
  CopyJet(jet_db, out_db);
  out << "vmu-pack: wrote " << out_db << '\n';
  return 0;
}

int ListTables(const std::string& database, std::ostream& out) {
  const SampleDatabase sample(database);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(sample.path().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    throw PackError(database + ": cannot be opened");
  }
  // Column names and declared types, in column order, table by table.
  const char* sql =
      "SELECT m.name, c.name, c.type FROM sqlite_schema m, pragma_table_info(m.name) c "
      "WHERE m.type = 'table' ORDER BY m.name COLLATE NOCASE, c.cid";
  sqlite3_stmt* st = nullptr;
  std::string table;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK) {
    while (sqlite3_step(st) == SQLITE_ROW) {
      const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
      const std::string column = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
      const std::string type = reinterpret_cast<const char*>(sqlite3_column_text(st, 2));
      if (name != table) out << name << '\n';
      table = name;
      out << "  " << column << "  " << (type.empty() ? "(no type)" : type) << '\n';
    }
  }
  const bool failed = sqlite3_errcode(db) != SQLITE_DONE && sqlite3_errcode(db) != SQLITE_OK;
  const std::string message = sqlite3_errmsg(db);
  sqlite3_finalize(st);
  sqlite3_close(db);
  if (failed) throw PackError(database + ": " + message);
  return 0;
}

}  // namespace vmu::pack
