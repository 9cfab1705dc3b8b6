// For the conversion's tests: a data folder with an old database, an update
// folder with the new and the conversion database (real SQLite files), and a
// wizard window on the headless view.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/script/script_view.h"
#include "conversion/convert.h"
#include "platform/sqlite/sqlite_databases.h"
#include "platform/sqlite/sqlite_exec.h"
#include "testing/fake_processes.h"
#include "testing/test_prefix.h"
#include "wizard/frm_conversie.h"

namespace vmu::testing {

inline constexpr const char* kDataDir = "C:\\Velmora\\";
inline constexpr const char* kUpdateDir = "C:\\Velmora\\Update\\";
inline constexpr const char* kOldDb = "C:\\Velmora\\VM_DBv01.mdb";
inline constexpr const char* kNewDb = "C:\\Velmora\\Update\\VM_DBnieuw.mdb";
inline constexpr const char* kConvDb = "C:\\Velmora\\Update\\Conversie.mdb";
inline constexpr const char* kMovedDb = "C:\\Velmora\\Update\\VM_DBv01.mdb";
inline constexpr const char* kLockFile = "C:\\Velmora\\VM_DBv01.ldb";

// Each row of a query as its columns' texts joined by "|" (ask for quote()
// and typeof() to see exact values).
inline std::vector<std::string> HostRows(const std::string& host_path, const std::string& sql) {
  std::vector<std::string> rows;
  sqlite3* db = nullptr;
  sqlite3_stmt* stmt = nullptr;
  sqlite3_open_v2(host_path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
    rows.push_back(std::string("error: ") + sqlite3_errmsg(db));
  while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      const unsigned char* text = sqlite3_column_text(stmt, i);
      row += (i ? "|" : "") + std::string(text ? reinterpret_cast<const char*>(text) : "");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

// One row of the control table TblTabels.
struct ControlRow {
  std::string tabelnaam;
  int order_delete;
  int order_update;
  bool delete_target;
  std::string query;
  std::string query_dest;
  std::string description;
};

struct ConversionEnv {
  ConversionEnv() : databases(prefix.fs()), ctx(prefix.fs(), processes), view(transcript) {
    ctx.folders.ProgramDir = "C:\\Program Files\\velmora\\";
    ctx.folders.DataDir = kDataDir;
    ctx.folders.UpdateIniPath = std::string(kDataDir) + "Update.ini";
    ctx.folders.SetupIniName = "installatieV2.ini";
    ctx.databases = &databases;
    prefix.Write(std::string(kUpdateDir) + "installatieV2.ini",
                 "[Main]\r\nConvert=1\r\nConvOldfile=VM_DBv01.mdb\r\nConvNewfile=VM_DBnieuw.mdb\r\n"
                 "ConvDatabase=Conversie.mdb\r\nConvFromVer=5.1\r\nConvToVer=5.2\r\n");
    form = std::make_unique<FrmConversie>(ctx, view);
    WizardState& s = form->state;
    s.UpdateDir = kUpdateDir;
    s.ConvOldfile = kOldDb;
    s.ConvNewfile = kNewDb;
    s.ConvDatabase = "Conversie.mdb";
    s.ConvDatabasePath = kConvDb;
    s.ConvFromVer = "5.1";
    s.ConvToVer = "5.2";
  }

  // Set-up need not survive a power cut: no waiting for the disk.
  void Sql(const std::string& windows_path, const std::string& sql) {
    ExecuteSql(prefix.Host(windows_path), "PRAGMA synchronous=OFF;" + sql);
  }

  // Tbl_About with the given Version value (SQL literal) as current row.
  void WithVersion(const std::string& path, const std::string& version_literal) {
    Sql(path, "CREATE TABLE Tbl_About (Version, CurrentVersion INTEGER);INSERT INTO Tbl_About VALUES ('1.0', 0);"
        "INSERT INTO Tbl_About VALUES (" + version_literal + ", 1);");
  }

  void WithControlRows(const std::vector<ControlRow>& rows) {
    std::string sql =
        "CREATE TABLE TblTabels (ID INTEGER PRIMARY KEY, tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER,"
        " DeleteTarget INTEGER, query TEXT, QueryDest TEXT, TlsDescription TEXT);";
    for (const ControlRow& r : rows) {
      sql += "INSERT INTO TblTabels (tabelnaam, OrderDelete, OrderUpdate, DeleteTarget, query, QueryDest,"
             " TlsDescription) VALUES (" +
             Literal(r.tabelnaam) + ", " + std::to_string(r.order_delete) + ", " + std::to_string(r.order_update) +
             ", " + (r.delete_target ? "1" : "0") + ", " + Literal(r.query) + ", " + Literal(r.query_dest) + ", " +
             Literal(r.description) + ");";
    }
    Sql(kConvDb, sql);
  }

  // Three databases whose versions match and an empty control table.
  void WithMatchingDatabases() {
    WithVersion(kOldDb, "'5.1'");
    WithVersion(kNewDb, "'5.2'");
    WithControlRows({});
  }

  static std::string Literal(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
  }

  std::vector<std::string> Rows(const std::string& windows_path, const std::string& sql) {
    return HostRows(prefix.Host(windows_path), sql);
  }

  std::string Log() { return prefix.Read(std::string(kDataDir) + "ConversieLog.TXT"); }
  std::string Out() { return transcript.str(); }
  bool Printed(const std::string& line) { return Out().find(line + "\n") != std::string::npos; }
  ControlState Shown(Control c) { return view.Inspect(c); }
  WizardState& state() { return form->state; }
  void Convert() { vmu::Convert(*form); }

  TestPrefix prefix;
  FakeProcesses processes;
  SqliteDatabases databases;
  RunContext ctx;
  std::ostringstream transcript;
  ScriptView view;
  std::unique_ptr<FrmConversie> form;
};

}  // namespace vmu::testing
