// For the tests of the conversion and of the wizard's conversion step: a
// data folder with an old database, an update folder with the new and the
// conversion database (real SQLite files) and the package manifest.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

#include "platform/sqlite/sqlite_exec.h"
#include "testing/test_prefix.h"

namespace vmu::testing {

inline constexpr const char* kDataDir = "C:\\Velmora\\";
inline constexpr const char* kUpdateDir = "C:\\Velmora\\Update\\";
inline constexpr const char* kOldDb = "C:\\Velmora\\VM_DBv01.mdb";
inline constexpr const char* kNewDb = "C:\\Velmora\\Update\\VM_DBnieuw.mdb";
inline constexpr const char* kConvDb = "C:\\Velmora\\Update\\Conversie.mdb";
inline constexpr const char* kMovedDb = "C:\\Velmora\\Update\\VM_DBv01.mdb";
inline constexpr const char* kLockFile = "C:\\Velmora\\VM_DBv01.ldb";
inline constexpr const char* kManifestName = "installatieV2.ini";
// A package manifest's settings for a conversion from 5.1 to 5.2.
inline const std::string kConversionSettings =
    "Convert=1\r\nConvOldfile=VM_DBv01.mdb\r\nConvNewfile=VM_DBnieuw.mdb\r\nConvDatabase=Conversie.mdb\r\n"
    "ConvFromVer=5.1\r\nConvToVer=5.2\r\n";

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

// The log of a successful conversion of WithShop() by ShopControl().
inline const std::string kShopLog =
    "Check versie oude database: 5.1 versus te verwachtte versie: 5.1\r\n"
    "Check versie nieuwe database: 5.2 versus te verwachtte versie: 5.2\r\n"
    "delete * from Factuur\r\ndelete * from Klant\r\ndelete * from Leeg\r\n"
    "Overzetten Klant\r\nOverzetten Factuur\r\nOverzetten Instelling\r\nOverzetten Leeg\r\n";

// The package's conversion settings that every conversion test starts from,
// on the wizard's state or on the conversion's own settings alike.
template <class Settings>
void SetStandardConversion(Settings& s) {
  s.UpdateDir = kUpdateDir;
  s.ConvOldfile = kOldDb;
  s.ConvNewfile = kNewDb;
  s.ConvDatabase = "Conversie.mdb";
  s.ConvDatabasePath = kConvDb;
  s.ConvFromVer = "5.1";
  s.ConvToVer = "5.2";
}

struct ConversionFiles {
  ConversionFiles() { prefix.Write(std::string(kUpdateDir) + kManifestName, "[Main]\r\n" + kConversionSettings); }

  // Set-up need not survive a power cut: no waiting for the disk.
  void Sql(const std::string& windows_path, const std::string& sql) {
    ExecuteSql(prefix.Host(windows_path), "PRAGMA synchronous=OFF;" + sql);
  }

  // Tbl_About with the given Version value (SQL literal) as current row.
  void WithVersion(const std::string& path, const std::string& version_literal) {
    Sql(path,
        "CREATE TABLE Tbl_About (Version, CurrentVersion INTEGER);INSERT INTO Tbl_About VALUES ('1.0', 0);"
        "INSERT INTO Tbl_About VALUES (" +
            version_literal + ", 1);");
  }

  void WithControlRows(const std::vector<ControlRow>& rows) {
    std::string sql =
        "CREATE TABLE TblTabels (ID INTEGER PRIMARY KEY, tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER,"
        " DeleteTarget INTEGER, query TEXT, QueryDest TEXT, TlsDescription TEXT);";
    for (const ControlRow& r : rows) {
      sql +=
          "INSERT INTO TblTabels (tabelnaam, OrderDelete, OrderUpdate, DeleteTarget, query, QueryDest,"
          " TlsDescription) VALUES (" +
          Literal(r.tabelnaam) + ", " + std::to_string(r.order_delete) + ", " + std::to_string(r.order_update) + ", " +
          (r.delete_target ? "1" : "0") + ", " + Literal(r.query) + ", " + Literal(r.query_dest) + ", " +
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

  // An old database with customers and invoices, a new one whose layout has
  // renamed a column and gained a table, and its own rows that the delete
  // pass must clear (or keep). ShopControl() transfers it.
  void WithShop() {
    WithVersion(kOldDb, "'5.1'");
    Sql(kOldDb,
        "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Plaats TEXT);"
        "INSERT INTO Klant VALUES (1, 'Jansen', 'Assen'), (2, 'De Vries', NULL), (3, 'Bakker', 'Zwolle');"
        "CREATE TABLE Factuur (Nr INTEGER, Klant INTEGER, Datum TEXT, Bedrag REAL, Notitie TEXT, Bijlage BLOB);"
        "INSERT INTO Factuur VALUES (10, 1, '2023-12-31 00:00:00', 1234.56, 'kort', x'00FF10');"
        "INSERT INTO Factuur VALUES (11, 2, NULL, -0.01, NULL, NULL);"
        "INSERT INTO Factuur VALUES (12, 3, '1999-01-02 13:45:00', 922337203685477.58, "
        "  printf('%.*c', 100000, 'x'), zeroblob(70000));CREATE TABLE Leeg (A INTEGER);");
    WithVersion(kNewDb, "'5.2'");
    Sql(kNewDb,
        "CREATE TABLE Klant (Nr INTEGER PRIMARY KEY, Naam TEXT NOT NULL, Woonplaats TEXT, Land TEXT DEFAULT 'NL');"
        "INSERT INTO Klant (Nr, Naam) VALUES (99, 'Voorbeeld');"
        "CREATE TABLE Factuur (Nr INTEGER, Klant INTEGER, Datum TEXT, Bedrag REAL, Notitie TEXT, Bijlage BLOB);"
        "CREATE TABLE Leeg (A INTEGER);"
        "CREATE TABLE Instelling (Naam TEXT); INSERT INTO Instelling VALUES ('blijft');");
  }

  static std::vector<ControlRow> ShopControl() {
    return {
        {"Factuur", 1, 2, true, "SELECT * FROM Factuur ORDER BY Nr", "Factuur", "Facturen"},
        {"Klant", 2, 1, true, "SELECT Nr, Naam, Plaats AS Woonplaats FROM Klant ORDER BY Nr", "SELECT * FROM Klant",
         "Klanten"},
        {"Instelling", 3, 3, false, "SELECT 'nieuw' AS Naam", "Instelling", "Instellingen"},
        {"Leeg", 4, 4, true, "SELECT * FROM Leeg", "Leeg", "Lege tabel"},
    };
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

  TestPrefix prefix;
};

}  // namespace vmu::testing
