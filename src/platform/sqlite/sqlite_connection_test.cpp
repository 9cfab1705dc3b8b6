#include "platform/sqlite/sqlite_connection.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/error.h"
#include "platform/sqlite/sqlite_databases.h"
#include "platform/sqlite/sqlite_exec.h"
#include "testing/error_of.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

using testing::ErrorOf;
using testing::MessageOf;
using testing::TestPrefix;

std::string ConnectionString(const std::string& path) {
  return "PROVIDER=MSDataShape;Data PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source= " + path +
         "; Jet OLEDB:Database Password = kolpa7";
}

constexpr const char* kPath = "C:\\data\\VM_DBv01.mdb";

constexpr const char* kSchema = R"sql(
  CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER NOT NULL DEFAULT 0);
  INSERT INTO Tbl_About VALUES (1, '5.1', 0), (2, '5.2', 1);
  CREATE TABLE Rel (RelatieID INTEGER PRIMARY KEY, Naam TEXT, Plaats TEXT, Bedrag REAL);
  INSERT INTO Rel VALUES (1, 'Bakker', 'Utrecht', 12.5), (2, 'Jansen', NULL, -3), (3, 'Van Dijk', 'Gouda', 0);
)sql";

struct Fixture {
  TestPrefix prefix;
  SqliteDatabases databases{prefix.fs()};
  std::unique_ptr<Connection> Open(const std::string& path = kPath) {
    auto connection = databases.NewConnection();
    connection->Open(ConnectionString(path));
    return connection;
  }
  void Make(const std::string& path = kPath, const char* sql = kSchema) {
    prefix.Write(path, "");
    ExecuteSql(prefix.Host(path), sql);
  }
};

TEST(SqliteConnection, ReadsRowsWithCountFieldsAndValues) {
  Fixture f;
  f.Make();
  auto connection = f.Open();
  EXPECT_TRUE(connection->IsOpen());

  auto rows = connection->Execute("SELECT * FROM Rel ORDER BY RelatieID");
  EXPECT_EQ(rows->RecordCount(), 3);
  ASSERT_EQ(rows->FieldCount(), 4);
  EXPECT_FALSE(rows->Eof());
  EXPECT_EQ(rows->Value(1), FieldValue(std::string("Bakker")));
  EXPECT_EQ(rows->Value("naam"), FieldValue(std::string("Bakker")));  // names ignore case, as in Jet
  EXPECT_EQ(rows->Value("BEDRAG"), FieldValue(12.5));
  rows->MoveNext();
  EXPECT_EQ(rows->Value("Plaats"), FieldValue(Null{}));
  EXPECT_EQ(rows->Value("RelatieID"), FieldValue(std::int64_t{2}));
  rows->MoveNext();
  rows->MoveNext();
  EXPECT_TRUE(rows->Eof());
  EXPECT_EQ(MessageOf([&] { rows->Value(0); }).substr(0, 24), "Either BOF or EOF is Tru");
  rows->MoveFirst();
  EXPECT_EQ(rows->Value(0), FieldValue(std::int64_t{1}));
  EXPECT_EQ(MessageOf([&] { rows->Value("Woonplaats"); }), "no such column: Woonplaats");
  EXPECT_NE(MessageOf([&] { rows->FieldName(4); }), "");

  // Jet's SQL as the control tables write it; a statement gives an empty set.
  EXPECT_TRUE(connection->Execute("delete * from Rel WHERE Plaats Is Null")->Eof());
  EXPECT_EQ(connection->Execute("SELECT count(*) FROM Rel")->Value(0), FieldValue(std::int64_t{2}));

  // A record set that outlives its connection reports, it does not crash.
  auto open_rows = connection->Execute("SELECT * FROM Rel");
  connection->Close();
  EXPECT_FALSE(connection->IsOpen());
  EXPECT_EQ(MessageOf([&] { open_rows->MoveNext(); }), "Operation is not allowed when the object is closed.");
  EXPECT_EQ(MessageOf([&] { connection->Execute("SELECT 1"); }), "Operation is not allowed when the object is closed.");
  connection->Open(ConnectionString(kPath));  // a closed connection opens again
  EXPECT_EQ(connection->Execute("SELECT count(*) FROM Rel")->Value(0), FieldValue(std::int64_t{2}));
}

TEST(SqliteConnection, FailuresCarryTheEnginesMessage) {
  Fixture f;
  f.Make();
  auto connection = f.Open();
  auto error_of = [&](const std::string& sql) {
    EXPECT_NE(ErrorOf([&] { connection->Execute(sql); }), 5);  // 5 is passed over by the wizard's handler
    return MessageOf([&] { connection->Execute(sql); });
  };
  EXPECT_EQ(error_of("SELECT Woonplaats FROM Rel"), "no such column: Woonplaats");
  EXPECT_EQ(error_of("SELECT * FROM Relaties"), "no such table: Relaties");
  EXPECT_EQ(error_of("SELEC * FROM Rel"), "near \"SELEC\": syntax error");
  EXPECT_EQ(error_of("SELECT CLng(Naam) FROM Rel"), "Type mismatch");  // raised while counting, before any row
  EXPECT_EQ(error_of("DELETE FROM Rel; DELETE FROM Tbl_About"), "Characters found after end of SQL statement.");
  EXPECT_EQ(error_of(""), "the SQL text holds no statement");
  EXPECT_EQ(connection->Execute("SELECT count(*) FROM Tbl_About")->Value(0), FieldValue(std::int64_t{2}));
}

TEST(SqliteConnection, OpenRefusesWhatIsNoUsableDatabase) {
  Fixture f;
  auto open_error = [&](const std::string& path) { return MessageOf([&] { f.Open(path); }); };

  // A missing file stays missing: no empty database is made.
  EXPECT_EQ(open_error("C:\\data\\Missing.mdb"), "unable to open database file: C:\\data\\Missing.mdb");
  EXPECT_FALSE(f.prefix.Exists("C:\\data\\Missing.mdb"));

  // Bytes that are no database are refused, and left exactly as they were.
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 7919 + 13) % 251);
  f.prefix.Write("C:\\data\\Noise.mdb", noise);
  EXPECT_EQ(open_error("C:\\data\\Noise.mdb"), "file is not a database: C:\\data\\Noise.mdb");
  EXPECT_EQ(f.prefix.Read("C:\\data\\Noise.mdb"), noise);

  // SQLite takes an empty file for an empty database: the first query fails.
  f.prefix.Write("C:\\data\\Empty.mdb", "");
  auto empty = f.Open("C:\\data\\Empty.mdb");
  EXPECT_EQ(MessageOf([&] { empty->Execute("SELECT * FROM Tbl_About WHERE CurrentVersion=True"); }),
            "no such table: Tbl_About");

  // A database cut short.
  f.Make();
  ExecuteSql(
      f.prefix.Host(kPath),
      "CREATE TABLE Big (t TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
      "INSERT INTO Big SELECT printf('%0100d', i) FROM n;");
  std::string whole = f.prefix.Read(kPath);
  f.prefix.Write("C:\\data\\Cut.mdb", whole.substr(0, whole.size() / 2));
  EXPECT_EQ(open_error("C:\\data\\Cut.mdb"), "database disk image is malformed: C:\\data\\Cut.mdb");
}

TEST(SqliteConnection, ADatabaseLockedElsewhereFailsAfterAShortWait) {
  Fixture f;
  f.Make();
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(f.prefix.Host(kPath).c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(MessageOf([&] { f.Open(); }), "database is locked: " + std::string(kPath));
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);

  // Locked after opening: the statement fails the same way.
  auto connection = f.Open();
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_EQ(MessageOf([&] { connection->Execute("SELECT * FROM Rel"); }), "database is locked");
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_EQ(connection->Execute("SELECT count(*) FROM Rel")->RecordCount(), 1);
}

}  // namespace
}  // namespace vmu
