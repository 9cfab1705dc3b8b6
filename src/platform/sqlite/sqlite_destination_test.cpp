#include "platform/sqlite/sqlite_destination.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/error.h"
#include "platform/sqlite/sqlite_databases.h"
#include "platform/sqlite/sqlite_exec.h"
#include "testing/conversion_files.h"
#include "testing/error_of.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

using testing::MessageOf;
using testing::TestPrefix;

constexpr const char* kPath = "C:\\data\\Nieuw.mdb";

// The types a Jet-minded schema uses, and what SQLite makes of them.
constexpr const char* kSchema = R"sql(
  CREATE TABLE Waarden (ID INTEGER PRIMARY KEY, Tekst TEXT, Kort Text(50), Code VARCHAR(10), Notitie Memo,
    Bedrag Currency, Actief YesNo DEFAULT 1, Datum DateTime, Getal Double, Plaatje LongBinary, Los);
  CREATE TABLE Rel (RelatieID INTEGER PRIMARY KEY, Naam TEXT NOT NULL, Plaats TEXT DEFAULT 'Onbekend',
    Debiteur INTEGER DEFAULT 0, UNIQUE (Naam));
)sql";

// What the file holds, value and type, row by row.
std::string Dump(Connection& connection, const std::string& table) {
  std::string dump;
  auto rows = connection.Execute("SELECT * FROM " + table + " ORDER BY 1");
  for (; !rows->Eof(); rows->MoveNext()) {
    for (int i = 0; i < rows->FieldCount(); ++i) {
      const FieldValue value = rows->Value(i);
      dump += std::to_string(value.index()) + ":";
      if (const auto* text = std::get_if<std::string>(&value)) dump += *text;
      if (const auto* number = std::get_if<std::int64_t>(&value)) dump += std::to_string(*number);
      if (const auto* real = std::get_if<double>(&value)) dump += std::to_string(*real);
      if (const auto* blob = std::get_if<Blob>(&value)) dump += std::to_string(blob->size());
      dump += "|";
    }
    dump += "\n";
  }
  return dump;
}

struct Fixture {
  TestPrefix prefix;
  SqliteDatabases databases{prefix.fs()};
  std::unique_ptr<Connection> connection;
  Fixture() {
    prefix.Write(kPath, "");
    ExecuteSql(prefix.Host(kPath), kSchema);
    connection = databases.NewConnection();
    connection->Open("Data Source= " + std::string(kPath) + "; Jet OLEDB:Database Password = kolpa7");
  }
  // What another program sees in the file right now.
  long long CountElsewhere(const std::string& table) {
    return std::stoll(testing::HostRows(prefix.Host(kPath), "SELECT count(*) FROM " + table).at(0));
  }
  // The ways of adding rows from a record set, for the differential test:
  // each row by setting each field or by the table's own AddRowFrom; many
  // rows one by one or together. Each gives what Waarden then holds, with
  // the failures, progress and counts; Waarden is emptied again after.
  enum Way { kEachField, kOwnRow, kRowsOneByOne, kRowsTogether };
  std::unique_ptr<Connection> old;
  std::string Copy(const std::string& query, Way way) {
    auto source = old->Execute(query);
    auto table = connection->OpenForAdding("Waarden");
    std::vector<int> places;
    for (int i = 0; i < source->FieldCount(); ++i) places.push_back(table->FieldIndex(source->FieldName(i)));
    std::string reported;
    for (; way <= kOwnRow && !source->Eof(); source->MoveNext())
      reported +=
          MessageOf([&] {
            way == kEachField ? table->Recordset::AddRowFrom(*source, places) : table->AddRowFrom(*source, places);
          }) +
          "\n";
    if (way >= kRowsOneByOne) {
      long rows = 0;
      std::string seen;
      auto progress = [&](long done) { seen += std::to_string(done) + " "; };
      reported = MessageOf([&] {
        way == kRowsTogether ? table->AddRowsFrom(*source, places, rows, 7, progress)
                             : table->Recordset::AddRowsFrom(*source, places, rows, 7, progress);
      });
      reported += "\n" + seen + "\n" + std::to_string(rows) + " " + std::to_string(table->RecordCount());
    }
    table->Close();
    const std::string outcome = Dump(*connection, "Waarden") + reported;
    connection->Execute("DELETE FROM Waarden");
    return outcome;
  }
};

FieldValue Text(const std::string& text) { return text; }

TEST(SqliteDestination, ValuesComeBackUnchanged) {
  Fixture f;
  std::string long_text(200000, 'x');
  long_text += "é€\n\r\t'\"";
  Blob blob{0, 1, 2, 255, 0, 7};
  // Each row: field name -> value written and read back as it stands.
  const std::vector<std::pair<std::string, FieldValue>> values = {
      {"Tekst", Text("007")},
      {"Kort", Text("007")},
      {"Code", Text("0012")},
      {"Notitie", Text("a note")},
      {"Bedrag", FieldValue(1234.56)},
      {"Actief", FieldValue(std::int64_t{0})},
      {"Datum", Text("2026-03-02 14:30:00")},
      {"Getal", FieldValue(-0.1)},
      {"Plaatje", FieldValue(blob)},
      {"Los", Text("007")},
  };
  // The edge values, and nulls; names ignore case.
  const std::vector<std::pair<std::string, FieldValue>> edges = {
      {"tekst", Text(long_text)},      {"Kort", Text("")},
      {"Code", FieldValue(Null{})},    {"Bedrag", FieldValue(std::int64_t{9007199254740993})},
      {"Plaatje", FieldValue(Blob{})}, {"Getal", FieldValue(Null{})},
  };
  auto table = f.connection->OpenForAdding("Waarden");
  for (const auto* row : {&values, &edges}) {
    table->AddNew();
    for (const auto& [name, value] : *row) table->SetValue(name, value);
    table->Update();
  }
  EXPECT_EQ(table->RecordCount(), 2);
  table->Close();

  auto rows = f.connection->Execute("SELECT * FROM Waarden ORDER BY ID");
  ASSERT_EQ(rows->RecordCount(), 2);
  for (const auto& [name, value] : values) EXPECT_EQ(rows->Value(name), value) << name;
  rows->MoveNext();
  for (const auto& [name, value] : edges) EXPECT_EQ(rows->Value(name), value) << name;
  EXPECT_EQ(rows->Value("Actief"), FieldValue(std::int64_t{1}));  // not set: the table's default
}

TEST(SqliteDestination, RefusesToTurnTextIntoANumberInAJetTextColumn) {
  Fixture f;
  auto table = f.connection->OpenForAdding("SELECT * FROM Waarden");
  // Memo is text for Jet but numeric for SQLite: '007' would become 7.
  // Which texts SQLite turns into which numbers is column_affinity's to test.
  for (const auto& [changed, number] : {std::pair{"007", "7"}, {"1e3", "1000"}}) {
    table->AddNew();
    table->SetValue("Notitie", Text(changed));
    EXPECT_EQ(MessageOf([&] { table->Update(); }), "the text '" + std::string(changed) +
                                                       "' for column Notitie of table \"main\".\"Waarden\" would be "
                                                       "stored as the number " +
                                                       number +
                                                       ": the column's type \"Memo\" is no text type for SQLite "
                                                       "(declare it TEXT)")
        << changed;
  }
  // Texts SQLite keeps, or stores as the same number, pass.
  for (const char* kept : {"7", "1.5", "abc", "12-03", "-3"}) {
    table->AddNew();
    table->SetValue("Notitie", Text(kept));
    EXPECT_EQ(MessageOf([&] { table->Update(); }), "") << kept;
  }
  // In Jet's number columns a number text becomes the number, as in Jet.
  table->AddNew();
  table->SetValue("Bedrag", Text("007"));
  table->SetValue("Actief", Text("1"));
  table->Update();
  table->Close();
  EXPECT_EQ(f.CountElsewhere("Waarden"), 6);
  auto row = f.connection->Execute("SELECT Bedrag, Actief FROM Waarden WHERE Bedrag Is Not Null");
  EXPECT_EQ(row->Value(0), FieldValue(std::int64_t{7}));
}

TEST(SqliteDestination, EveryWayOfAddingRowsFromARecordSetGivesTheSame) {
  Fixture f;
  constexpr const char* kOld = "C:\\data\\Oud.mdb";
  f.prefix.Write(kOld, "");
  // Reeks has more rows than go into one statement; row 40 repeats an ID,
  // row 53 has a text the Memo column must refuse.
  ExecuteSql(f.prefix.Host(kOld),
             "CREATE TABLE Bron (Id INTEGER, Tekst TEXT, Getal, Data BLOB, Los, Notitie TEXT);"
             "INSERT INTO Bron VALUES (1, 'gewoon', 1.5, x'00FF', NULL, 'vrij'), (2, '', -0.0, x'', 'los', '12'),"
             " (3, NULL, 9007199254740993, NULL, 7, NULL), (4, '0042', 1e300, zeroblob(2), 2.5, '007'),"
             " (5, 'na', 3, NULL, NULL, 'x');"
             "CREATE TABLE Reeks (Id INTEGER, Tekst TEXT, Getal, Data BLOB, Notitie TEXT);"
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60)"
             " INSERT INTO Reeks SELECT CASE i WHEN 40 THEN 7 ELSE i END, CASE i % 3 WHEN 0 THEN '' WHEN 1 THEN NULL"
             " ELSE 'regel ' || i END, CASE i % 4 WHEN 0 THEN i * 1.5 WHEN 1 THEN -i ELSE NULL END,"
             " CASE i % 3 WHEN 0 THEN x'' WHEN 1 THEN zeroblob(i) ELSE NULL END,"
             " CASE i WHEN 53 THEN '007' ELSE 'notitie ' || i END FROM n;");
  f.old = f.databases.NewConnection();
  f.old->OpenReadOnly("Data Source=" + std::string(kOld));

  const char* rows[] = {
      // Every kind of value, into columns of other types; the Memo column
      // refuses '007' and the rows around it go in.
      "SELECT Id AS ID, Tekst, Tekst AS Kort, Getal AS Bedrag, Getal, Data AS Plaatje, Los, Notitie FROM Bron",
      // Two fields for one column: the last one counts.
      "SELECT Id AS ID, Tekst AS Code, Los AS code, Notitie FROM Bron",
  };
  for (const char* query : rows) {
    const std::string each_field = f.Copy(query, Fixture::kEachField);
    EXPECT_EQ(f.Copy(query, Fixture::kOwnRow), each_field) << query;
    EXPECT_NE(each_field.find("would be stored as the number 7"), std::string::npos) << each_field;
  }
  const char* many[] = {
      "SELECT Id AS ID, Tekst, Getal, Data AS Plaatje, Notitie AS Kort FROM Reeks WHERE Id <> 7 OR Getal Is Null",
      "SELECT Id AS ID, Tekst, Data AS Plaatje FROM Reeks",
      "SELECT Id AS ID, Notitie FROM Reeks WHERE Id <> 7 OR Getal Is Null",
      "SELECT Id AS ID, CLng(IIf(Id = 33, 'abc', Id)) AS Getal FROM Reeks",
  };
  for (const char* query : many)
    EXPECT_EQ(f.Copy(query, Fixture::kRowsTogether), f.Copy(query, Fixture::kRowsOneByOne)) << query;
  // Each failure did stop the copy where it should.
  EXPECT_NE(f.Copy(many[1], Fixture::kRowsTogether).find("UNIQUE constraint failed: Waarden.ID\n"), std::string::npos);
  EXPECT_NE(f.Copy(many[2], Fixture::kRowsTogether).find("would be stored as the number 7"), std::string::npos);
  EXPECT_NE(f.Copy(many[3], Fixture::kRowsTogether).find("\n31 32"), std::string::npos);
}

TEST(SqliteDestination, OpensATableOrASelectOnOneTable) {
  Fixture f;
  auto chosen = f.connection->OpenForAdding("SELECT Naam, [Plaats] FROM [Rel] WHERE RelatieID = 0");
  ASSERT_EQ(chosen->FieldCount(), 2);
  EXPECT_EQ(chosen->FieldName(1), "Plaats");
  chosen->AddNew();
  chosen->SetValue("Naam", Text("Bakker"));
  EXPECT_EQ(chosen->Value("naam"), Text("Bakker"));
  EXPECT_EQ(MessageOf([&] { chosen->SetValue("Debiteur", FieldValue(std::int64_t{1})); }),
            "table \"main\".\"Rel\" has no column named Debiteur");
  chosen->Update();
  chosen->Close();
  auto row = f.connection->Execute("SELECT * FROM Rel");
  EXPECT_EQ(row->Value("Plaats"), Text("Onbekend"));
  EXPECT_EQ(row->Value("Debiteur"), FieldValue(std::int64_t{0}));

  EXPECT_EQ(MessageOf([&] { f.connection->OpenForAdding("Relaties"); }), "no such table: Relaties");
  EXPECT_EQ(MessageOf([&] { f.connection->OpenForAdding("SELECT a.Naam, b.Tekst FROM Rel a, Waarden b"); }),
            "rows can only be added to one table, and \"SELECT a.Naam, b.Tekst FROM Rel a, Waarden b\" does not "
            "name exactly one");
  auto read_only = f.connection->Execute("SELECT * FROM Rel");
  EXPECT_NE(MessageOf([&] { read_only->AddNew(); }), "");
}

TEST(SqliteDestination, RowsWrittenBeforeAFailureStayWritten) {
  Fixture f;
  auto table = f.connection->OpenForAdding("Rel");
  const int rows = SqliteSession::kBatchRows * 2 + 500;
  for (int i = 0; i < rows; ++i) {
    table->AddNew();
    table->SetValue("Naam", Text("Naam " + std::to_string(i)));
    table->Update();
  }
  // Whole batches are in the file already, for any other program to see.
  EXPECT_EQ(f.CountElsewhere("Rel"), SqliteSession::kBatchRows * 2);

  table->AddNew();
  table->SetValue("Naam", Text("Naam 7"));  // breaks the table's UNIQUE rule
  EXPECT_EQ(MessageOf([&] { table->Update(); }), "UNIQUE constraint failed: Rel.Naam");
  EXPECT_EQ(f.CountElsewhere("Rel"), rows);  // committed before the error was raised

  table->AddNew();
  EXPECT_EQ(MessageOf([&] { table->SetValue("Woonplaats", Text("x")); }),
            "table \"main\".\"Rel\" has no column named Woonplaats");
  table->SetValue("Naam", FieldValue(Null{}));  // the row being added is still there
  EXPECT_EQ(MessageOf([&] { table->Update(); }), "NOT NULL constraint failed: Rel.Naam");

  // After a failure the copy may go on; closing the connection commits.
  table->AddNew();
  table->SetValue("Naam", Text("Laatste"));
  table->Update();
  f.connection->Close();
  EXPECT_EQ(f.CountElsewhere("Rel"), rows + 1);
  EXPECT_NE(MessageOf([&] { table->AddNew(); }), "");
}

}  // namespace
}  // namespace vmu
