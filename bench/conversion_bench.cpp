// conversion-bench [ROWS] [FOLDER]: converts a generated old database with one
// table of ROWS rows (1,000,000 by default) and ten columns through the real
// Convert, twice: into a new database of the same layout and into one whose
// columns differ in order and number (the usual conversion). Each time it
// also forces the row-by-row copy, and it times the yardsticks in the same
// run: SQLite's own INSERT ... SELECT * between identical layouts (which
// copies whole records) and a decoding INSERT INTO t (columns) SELECT columns
// ... WHERE 1. It prints the rates, the ratios, which path ran and the peak
// resident memory. It builds no window: the conversion's display shows nothing.
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
#include "platform/mdb/mdb_jet_files.h"
#include "platform/sqlite/sqlite_databases.h"
#include "platform/sqlite/sqlite_exec.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kColumns =
    "Nr, Omschrijving, Rekening, Bedrag, Aantal, Datum, Gewijzigd, Opmerking, Code, Geboekt";
constexpr const char* kTable =
    "CREATE TABLE Boeking (Nr INTEGER, Omschrijving TEXT, Rekening TEXT, Bedrag REAL, Aantal INTEGER,"
    " Datum TEXT, Gewijzigd TEXT, Opmerking TEXT, Code TEXT, Geboekt INTEGER);";
// The same fields in another order, a key and a new column.
constexpr const char* kOtherTable =
    "CREATE TABLE Boeking (Id INTEGER PRIMARY KEY, Geboekt INTEGER, Code TEXT, Opmerking TEXT, Gewijzigd TEXT,"
    " Datum TEXT, Aantal INTEGER, Bedrag REAL, Rekening TEXT, Omschrijving TEXT, Nr INTEGER, Extra TEXT DEFAULT '');";

long PeakKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string ResultText(const vmu::ConversionResult& result) {
  if (result.outcome == vmu::ConversionResult::Outcome::Failed)
    return vmu::ConversionErrorText(result.error_description);
  return result.as_message ? "" : result.text;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string WithVersion(const char* version) {
  return std::string("CREATE TABLE Tbl_About (Version TEXT, CurrentVersion INTEGER);INSERT INTO Tbl_About VALUES ('") +
         version + "', 1);";
}

void MakeOldDatabase(const fs::path& data, long rows) {
  // Texts, numbers, dates and nulls, different on every row.
  vmu::ExecuteSql((data / "VM_DBv01.mdb").string(),
                  "PRAGMA synchronous=OFF;" + WithVersion("5.1") + kTable +
                      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                      std::to_string(rows) +
                      ") INSERT INTO Boeking SELECT i, 'Boeking nummer ' || i, printf('NL%02dBANK%010d', i % 97, i),"
                      " (i % 100000) / 100.0, i % 1000, date('2000-01-01', '+' || (i % 9000) || ' days'),"
                      " datetime('2020-01-01', '+' || i || ' seconds'), CASE WHEN i % 3 = 0 THEN NULL ELSE"
                      " 'opmerking ' || (i % 17) END, CASE WHEN i % 5 = 0 THEN NULL ELSE 'C' || (i % 251) END,"
                      " i % 2 FROM n;");
}

// A fresh update folder: the new database with the given layout, the
// conversion database and the manifest.
void MakeUpdate(const fs::path& update, const char* layout) {
  fs::remove_all(update);
  fs::create_directories(update);
  vmu::ExecuteSql((update / "VM_DBnieuw.mdb").string(), WithVersion("5.2") + layout);
  vmu::ExecuteSql((update / "Conversie.mdb").string(),
                  "CREATE TABLE TblTabels (tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER,"
                  " DeleteTarget INTEGER, query TEXT, QueryDest TEXT, TlsDescription TEXT);"
                  "INSERT INTO TblTabels VALUES ('Boeking', 1, 1, 1, 'SELECT * FROM Boeking', 'Boeking',"
                  " 'Boekingen');");
  std::ofstream manifest(update / "installatieV2.ini", std::ios::binary);
  manifest << "[Main]\r\nConvOldfile=VM_DBv01.mdb\r\n";
}

struct Timed {
  double seconds = 0;
  std::string path;
};

Timed RunConvert(const fs::path& prefix, const char* layout, bool one_by_one) {
  const fs::path update = prefix / "drive_c" / "Velmora" / "Update";
  MakeUpdate(update, layout);
  vmu::HostFileSystem files{vmu::DriveMap(prefix.string())};
  vmu::MdbJetFiles jet_files(files);
  vmu::SqliteDatabases databases(files, &jet_files);
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
  settings.rows_one_by_one = one_by_one;
  vmu::ConversionLog log(files, settings.DataDir);
  vmu::QuietDisplay display;
  const Clock::time_point start = Clock::now();
  const vmu::ConversionResult result = vmu::Convert(settings, files, &databases, log, display);
  Timed timed{Seconds(start), ""};
  if (result.outcome != vmu::ConversionResult::Outcome::Converted) {
    // The text the wizard's result page would show.
    std::cerr << "Convert failed: " << ResultText(result) << '\n';
    std::exit(1);
  }
  for (const vmu::TableCopy& table : result.tables)
    timed.path += table.set_based ? "one statement" : "row by row (" + table.row_path_reason + ")";
  return timed;
}

// SQLite's own copy into a fresh database of the layout, in one transaction.
double EngineCopy(const fs::path& old_db, const fs::path& target, const char* layout, const std::string& insert) {
  fs::remove(target);
  vmu::ExecuteSql(target.string(), layout);
  sqlite3* db = nullptr;
  sqlite3_open(target.string().c_str(), &db);
  const std::string sql = "ATTACH '" + old_db.string() + "' AS oud; BEGIN; " + insert + "; COMMIT;";
  const Clock::time_point start = Clock::now();
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    std::cerr << insert << " failed: " << (error ? error : "") << '\n';
    std::exit(1);
  }
  const double seconds = Seconds(start);
  sqlite3_close(db);
  return seconds;
}

void Line(const std::string& what, double seconds, long rows, double yardstick) {
  std::cout << "  " << what << std::string(what.size() < 34 ? 34 - what.size() : 1, ' ') << seconds << " s, "
            << static_cast<long>(rows / seconds) << " rows/s, " << yardstick / seconds << " x the yardstick\n";
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
  fs::create_directories(data);
  const fs::path old_db = data / "VM_DBv01.mdb";

  Clock::time_point start = Clock::now();
  MakeOldDatabase(data, rows);
  std::cout << "generated " << rows << " rows in " << Seconds(start) << " s\n";
  const long peak_before = PeakKib();

  const std::string columns = kColumns;
  const double whole_records =
      EngineCopy(old_db, prefix / "engine.mdb", kTable, "INSERT INTO main.Boeking SELECT * FROM oud.Boeking");
  const struct {
    const char* name;
    const char* layout;
  } layouts[] = {{"identical layouts", kTable}, {"columns in another order and number", kOtherTable}};
  for (const auto& layout : layouts) {
    const double decoding =
        EngineCopy(old_db, prefix / "engine.mdb", layout.layout,
                   "INSERT INTO main.Boeking (" + columns + ") SELECT " + columns + " FROM oud.Boeking WHERE 1");
    const Timed by_set = RunConvert(prefix, layout.layout, false);
    const Timed by_rows = RunConvert(prefix, layout.layout, true);
    const double yardstick = layout.layout == kTable ? whole_records : decoding;
    std::cout << layout.name << ": Convert took the path " << by_set.path << "\n";
    Line("INSERT ... SELECT * (whole records)", whole_records, rows, yardstick);
    Line("INSERT ... SELECT columns WHERE 1", decoding, rows, yardstick);
    Line("Convert", by_set.seconds, rows, yardstick);
    Line("Convert, row by row forced", by_rows.seconds, rows, yardstick);
  }
  std::cout << "peak resident: " << peak_before / 1024 << " MiB before the conversions, " << PeakKib() / 1024
            << " MiB at the end\n";
  if (own_folder) fs::remove_all(prefix);
  return 0;
}
