// conversion-bench [ROWS] [FOLDER]: converts a generated old database with one
// table of ROWS rows (1,000,000 by default) and ten columns through the real
// Convert, then copies the same table with SQLite's own INSERT INTO ... SELECT
// across an attached database, and prints both rates, their ratio and the
// peak resident memory; a plain prepared-statement loop is timed too, for
// comparison. It builds no window: the conversion's display shows nothing.
#include <sqlite3.h>
#include <sys/resource.h>

#include <charconv>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "app/cli/command_line.h"
#include "conversion/conversion_texts.h"
#include "conversion/convert.h"
#include "files/conversion_log.h"
#include "platform/host/host_file_system.h"
#include "platform/sqlite/sqlite_databases.h"
#include "platform/sqlite/sqlite_exec.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kTable =
    "CREATE TABLE Boeking (Nr INTEGER, Omschrijving TEXT, Rekening TEXT, Bedrag REAL, Aantal INTEGER,"
    " Datum TEXT, Gewijzigd TEXT, Opmerking TEXT, Code TEXT, Geboekt INTEGER);";

long PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The conversion's progress, notices and messages go nowhere.
class NoDisplay : public vmu::ConversionDisplay {
 public:
  void AddToMainText(const std::string&) override {}
  void SetStatus(const std::string&) override {}
  void StartProgress(int) override {}
  void StepProgress() override {}
  void HideProgress() override {}
  void HideCancel() override {}
  void Redraw() override {}
  void PrepareNotice() override {}
  void ShowNotice(const std::string&) override {}
  void ShowMessage(const std::string&) override {}
};

std::string ResultText(const vmu::ConversionResult& result) {
  if (result.outcome == vmu::ConversionResult::Outcome::Failed)
    return vmu::ConversionErrorText(result.error_description);
  return result.as_message ? "" : result.text;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

void MakeDatabases(const fs::path& data, const fs::path& update, long rows) {
  const std::string about =
      "CREATE TABLE Tbl_About (Version TEXT, CurrentVersion INTEGER);INSERT INTO Tbl_About VALUES ('%s', 1);";
  auto with_version = [&](const char* version) {
    std::string sql = about;
    sql.replace(sql.find("%s"), 2, version);
    return sql;
  };
  // Texts, numbers, dates and nulls, different on every row.
  vmu::ExecuteSql((data / "VM_DBv01.mdb").string(),
                  with_version("5.1") + kTable +
                      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                      std::to_string(rows) +
                      ") INSERT INTO Boeking SELECT i, 'Boeking nummer ' || i, printf('NL%02dBANK%010d', i % 97, i),"
                      " (i % 100000) / 100.0, i % 1000, date('2000-01-01', '+' || (i % 9000) || ' days'),"
                      " datetime('2020-01-01', '+' || i || ' seconds'), CASE WHEN i % 3 = 0 THEN NULL ELSE"
                      " 'opmerking ' || (i % 17) END, CASE WHEN i % 5 = 0 THEN NULL ELSE 'C' || (i % 251) END,"
                      " i % 2 FROM n;");
  vmu::ExecuteSql((update / "VM_DBnieuw.mdb").string(), with_version("5.2") + kTable);
  vmu::ExecuteSql((update / "Conversie.mdb").string(),
                  "CREATE TABLE TblTabels (tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER,"
                  " DeleteTarget INTEGER, query TEXT, QueryDest TEXT, TlsDescription TEXT);"
                  "INSERT INTO TblTabels VALUES ('Boeking', 1, 1, 1, 'SELECT * FROM Boeking', 'Boeking',"
                  " 'Boekingen');");
  std::ofstream manifest(update / "installatieV2.ini", std::ios::binary);
  manifest << "[Main]\r\nConvOldfile=VM_DBv01.mdb\r\n";
}

// SQLite's own copy of the same table into a fresh copy of the new layout.
double EngineCopy(const fs::path& old_db, const fs::path& target) {
  sqlite3* db = nullptr;
  sqlite3_open(target.string().c_str(), &db);
  const std::string sql =
      "ATTACH '" + old_db.string() + "' AS oud; BEGIN; INSERT INTO main.Boeking SELECT * FROM oud.Boeking; COMMIT;";
  Clock::time_point start = Clock::now();
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::cerr << "INSERT ... SELECT failed: " << (error ? error : "") << '\n';
    std::exit(1);
  }
  double seconds = Seconds(start);
  sqlite3_close(db);
  return seconds;
}

// The same copy as a plain loop of prepared statements: step the source,
// bind its columns, step the insert, one transaction.
double StatementLoopCopy(const fs::path& old_db, const fs::path& target) {
  sqlite3* db = nullptr;
  sqlite3_open(target.string().c_str(), &db);
  const std::string attach = "ATTACH '" + old_db.string() + "' AS oud";
  sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr);
  Clock::time_point start = Clock::now();
  sqlite3_stmt* source = nullptr;
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM oud.Boeking", -1, &source, nullptr);
  sqlite3_prepare_v2(db, "INSERT INTO main.Boeking VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  while (sqlite3_step(source) == SQLITE_ROW) {
    for (int i = 0; i < 10; ++i) sqlite3_bind_value(insert, i + 1, sqlite3_column_value(source, i));
    if (sqlite3_step(insert) != SQLITE_DONE) {
      std::cerr << "statement loop failed: " << sqlite3_errmsg(db) << '\n';
      std::exit(1);
    }
    sqlite3_reset(insert);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  double seconds = Seconds(start);
  sqlite3_finalize(source);
  sqlite3_finalize(insert);
  sqlite3_close(db);
  return seconds;
}

const vmu::cli::Program kProgram{"conversion-bench",
                                 "usage: conversion-bench [ROWS] [FOLDER]\n"
                                 "Converts a generated table of ROWS rows (1000000 by default) in FOLDER (a new\n"
                                 "temporary folder by default) and prints the rates beside SQLite's own copy.\n"};

}  // namespace

int main(int argc, char** argv) {
  vmu::cli::Arguments args;
  if (auto status = vmu::cli::Parse(kProgram, argc, argv, {}, args, std::cout, std::cerr)) return *status;
  if (args.operands.size() > 2) return vmu::cli::UsageError(kProgram, "ROWS and FOLDER at most", std::cerr);
  long rows = 1000000;
  if (!args.operands.empty()) {
    const std::string& text = args.operands[0];
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), rows);
    if (ec != std::errc() || end != text.data() + text.size() || rows <= 0) {
      return vmu::cli::UsageError(kProgram, "ROWS must be a whole number above 0", std::cerr);
    }
  }
  const bool own_folder = args.operands.size() < 2;
  std::string base = own_folder ? (fs::temp_directory_path() / "vmu-bench-XXXXXX").string() : args.operands[1];
  if (own_folder && !mkdtemp(base.data())) {
    std::cerr << "cannot make a temporary folder\n";
    return 1;
  }
  const fs::path prefix = base;
  const fs::path data = prefix / "drive_c" / "Velmora";
  const fs::path update = data / "Update";
  fs::create_directories(update);

  Clock::time_point start = Clock::now();
  MakeDatabases(data, update, rows);
  fs::copy_file(update / "VM_DBnieuw.mdb", prefix / "engine-copy.mdb");
  fs::copy_file(update / "VM_DBnieuw.mdb", prefix / "loop-copy.mdb");
  std::cout << "generated " << rows << " rows in " << Seconds(start) << " s\n";
  const long peak_before = PeakKib();

  vmu::HostFileSystem files{vmu::DriveMap(prefix.string())};
  vmu::SqliteDatabases databases(files);
  vmu::ConversionSettings settings;
  settings.DataDir = "C:\\Velmora\\";
  settings.UpdateDir = "C:\\Velmora\\Update\\";
  settings.SetupIniName = "installatieV2.ini";
  settings.ConvOldfile = "C:\\Velmora\\VM_DBv01.mdb";
  settings.ConvNewfile = "C:\\Velmora\\Update\\VM_DBnieuw.mdb";
  settings.ConvDatabase = "Conversie.mdb";
  settings.ConvDatabasePath = "C:\\Velmora\\Update\\Conversie.mdb";
  settings.ConvFromVer = "5.1";
  settings.ConvToVer = "5.2";
  vmu::ConversionLog log(files, settings.DataDir);
  NoDisplay display;

  start = Clock::now();
  const vmu::ConversionResult result = vmu::Convert(settings, files, &databases, log, display);
  const double convert_seconds = Seconds(start);
  const long peak_convert = PeakKib();
  if (result.outcome != vmu::ConversionResult::Outcome::Converted) {
    // The text the wizard's result page would show.
    std::cerr << "Convert failed: " << ResultText(result) << '\n';
    return 1;
  }
  const double engine_seconds = EngineCopy(data / "VM_DBv01.mdb", prefix / "engine-copy.mdb");
  const double loop_seconds = StatementLoopCopy(data / "VM_DBv01.mdb", prefix / "loop-copy.mdb");

  const double convert_rate = rows / convert_seconds;
  const double engine_rate = rows / engine_seconds;
  std::cout << "Convert:            " << convert_seconds << " s, " << static_cast<long>(convert_rate) << " rows/s\n"
            << "INSERT ... SELECT:  " << engine_seconds << " s, " << static_cast<long>(engine_rate) << " rows/s\n"
            << "statement loop:     " << loop_seconds << " s, " << static_cast<long>(rows / loop_seconds) << " rows/s\n"
            << "ratio:              " << convert_rate / engine_rate << " of INSERT ... SELECT, "
            << convert_rate / (rows / loop_seconds) << " of the statement loop\n"
            << "peak resident:      " << peak_before / 1024 << " MiB before Convert, " << peak_convert / 1024
            << " MiB after Convert, " << PeakKib() / 1024 << " MiB at the end\n";
  if (own_folder) fs::remove_all(prefix);
  return 0;
}
