// The copy in one statement must give exactly what the copy row by row
// gives: every scenario runs both ways and the databases, logs, displays and
// results are compared, value for value and type for type.
#include <gtest/gtest.h>

#include "conversion/conversion_test_env.h"
#include "conversion/table_transfer.h"

namespace vmu {
namespace {

using testing::ControlRow;
using testing::ConversionEnv;
using testing::kMovedDb;
using testing::kNewDb;
using testing::kOldDb;

// What the single statement declines outright (a field the destination
// lacks, a table only the new database has) is set_copy_test's.
struct Scenario {
  std::string name;
  std::string old_sql, new_sql;  // after the shop's databases
  std::vector<ControlRow> control;
  std::string paths;  // per control row copied: S one statement, R row by row
};

// Every table of the database, every row in rowid order, every value with
// its storage type.
std::vector<std::string> Dump(ConversionEnv& e, const std::string& path) {
  std::vector<std::string> out;
  for (const std::string& table : e.Rows(path, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name")) {
    std::string columns;
    for (const std::string& column : e.Rows(path, "SELECT name FROM pragma_table_info('" + table + "')"))
      columns +=
          (columns.empty() ? "" : " || '|' || ") + ("quote(\"" + column + "\") || ':' || typeof(\"" + column + "\")");
    out.push_back("table " + table);
    for (const std::string& row : e.Rows(path, "SELECT " + columns + " FROM \"" + table + "\" ORDER BY rowid"))
      out.push_back(row);
  }
  return out;
}

struct Outcome {
  ConversionResult result;
  std::string log, display;
  std::vector<std::string> tables;
  std::string paths;
};

Outcome Convert(const Scenario& s, bool one_by_one) {
  ConversionEnv e;
  e.WithShop();
  e.Sql(kOldDb, s.old_sql);
  e.Sql(kNewDb, s.new_sql);
  e.WithControlRows(s.control);
  const std::string old_bytes = e.prefix.Read(kOldDb);
  e.settings.rows_one_by_one = one_by_one;
  e.Convert();
  EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
  EXPECT_EQ(e.databases.left_open, 0);
  Outcome run{e.result, e.Log(), e.display.lines, Dump(e, e.prefix.Exists(kMovedDb) ? kMovedDb : kNewDb), ""};
  for (const TableCopy& table : e.result.tables) run.paths += table.set_based ? "S" : "R";
  return run;
}

TEST(TransferPaths, OneStatementGivesWhatRowByRowGives) {
  const std::string values_table =
      "CREATE TABLE Waarde (Id INTEGER, Tekst TEXT, Getal REAL, Heel INTEGER, Datum DATETIME, JaNee YESNO, "
      "Notitie TEXT, Data BLOB);"
      "INSERT INTO Waarde VALUES (1, 'gewoon', 1.5, 7, '2024-02-29 00:00:00', 1, '12345', x'00'),"
      " (2, '', -0.0, -9223372036854775808, '1899-12-30 12:00:00', -1, 'tekst', x''),"
      " (3, NULL, NULL, NULL, NULL, 0, NULL, NULL), (4, '0042', 1e300, 0, 45000.25, NULL, '-3', NULL),"
      " (5, 'tab\tregel\r\nnul', 2.0, 2, 'geen datum', 5, '1e3x', zeroblob(3));";
  const std::vector<Scenario> scenarios = {
      {"shop", "", "", ConversionEnv::ShopControl(), "SSSS"},
      {"same layout, whole records, an index",
       "",
       "CREATE INDEX FactuurKlant ON Factuur (Klant);",
       {{"Factuur", 1, 1, true, "SELECT * FROM Factuur", "Factuur", "Facturen"}},
       "S"},
      {"values of every kind into other types",
       values_table,
       "CREATE TABLE Waarde (Id COUNTER, Heel INTEGER, Tekst TEXT, Getal DOUBLE, Datum DATETIME, JaNee BIT,"
       " Notitie MEMO, Data BLOB, Extra TEXT DEFAULT 'x');",
       {{"Waarde", 1, 1, true, "SELECT * FROM Waarde ORDER BY Id DESC", "Waarde", "Waarden"}},
       "S"},
      {"memo with digit strings that would change",
       values_table + "UPDATE Waarde SET Notitie = '007' WHERE Id = 3;",
       "CREATE TABLE Waarde (Id INTEGER, Notitie MEMO);",
       {{"Waarde", 1, 1, true, "SELECT Id, Notitie FROM Waarde ORDER BY Id", "Waarde", "Waarden"}},
       "R"},
      {"jet functions and &",
       "INSERT INTO Klant VALUES (4, 'Smit', 'Ede');",
       "CREATE TABLE Label (Nr INTEGER, Tekst TEXT, Teken TEXT, Kort TEXT, Waar INTEGER, Dag TEXT);",
       {{"Label", 1, 1, true,
         "SELECT Nr, Naam & ' (' & Nz(Plaats, '-') & ')' AS Tekst, IIf(Nr > 2, 'hoog', 'laag') AS Teken,"
         " UCase(Left(Naam, 3)) AS Kort, True AS Waar, Format(#12/31/2023#, 'dd-mm-yyyy') AS Dag FROM Klant"
         " WHERE Naam Like '*e*' ORDER BY Mid(Naam, 2)",
         "Label", "Labels"}},
       "S"},
      {"a failing row in the middle",
       "INSERT INTO Klant VALUES (4, NULL, 'Ede'), (5, 'Laat', 'Urk');",
       "",
       {{"Factuur", 1, 1, true, "SELECT * FROM Factuur", "Factuur", "Facturen"},
        {"Klant", 2, 2, true, "SELECT Nr, Naam, Plaats AS Woonplaats FROM Klant ORDER BY Nr", "Klant", "Klanten"}},
       "SR"},
      {"a function failing in the middle",
       "",
       "CREATE TABLE Getal (Nr INTEGER, Waarde INTEGER);",
       {{"Getal", 1, 1, true, "SELECT Nr, CLng(IIf(Nr = 2, 'abc', Nr)) AS Waarde FROM Klant", "Getal", "Getallen"}},
       "R"},
      {"names in another case, twice the same field, a destination query",
       "",
       "",
       {{"Klant", 1, 1, true, "SELECT nr AS NR, naam, Plaats AS woonplaats FROM Klant", "SELECT * FROM Klant",
         "Klanten"},
        {"Instelling", 2, 2, true, "SELECT Naam, Plaats AS Naam FROM Klant", "Instelling", "Instellingen"}},
       "SR"},
      {"the table's own conflict rule",
       "INSERT INTO Klant VALUES (1, 'Dubbel', 'Urk');",
       "CREATE TABLE Uniek (Nr INTEGER UNIQUE ON CONFLICT IGNORE, Naam TEXT, Plaats TEXT);",
       {{"Uniek", 1, 1, true, "SELECT * FROM Klant", "Uniek", "Klanten"}},
       "S"},
  };
  for (const Scenario& s : scenarios) {
    SCOPED_TRACE(s.name);
    const Outcome by_set = Convert(s, false);
    const Outcome by_rows = Convert(s, true);
    EXPECT_EQ(by_set.paths, s.paths);
    EXPECT_EQ(by_rows.paths, std::string(s.paths.size(), 'R'));
    EXPECT_EQ(by_set.result.outcome, by_rows.result.outcome);
    EXPECT_EQ(by_set.result.error_number, by_rows.result.error_number);
    EXPECT_EQ(by_set.result.error_description, by_rows.result.error_description);
    EXPECT_EQ(by_set.log, by_rows.log);
    EXPECT_EQ(by_set.display, by_rows.display);
    EXPECT_EQ(by_set.tables, by_rows.tables);
    ASSERT_EQ(by_set.result.tables.size(), by_rows.result.tables.size());
    for (size_t i = 0; i < by_set.result.tables.size(); ++i) {
      EXPECT_EQ(by_set.result.tables[i].rows_read, by_rows.result.tables[i].rows_read) << i;
      EXPECT_EQ(by_set.result.tables[i].rows_written, by_rows.result.tables[i].rows_written) << i;
    }
  }
}

}  // namespace
}  // namespace vmu
