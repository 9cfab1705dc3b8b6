#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/jet/jet_sql.h"
#include "platform/sqlite/jet_functions.h"

namespace vmu {
namespace {

// An in-memory database with the connection's Jet functions and a few rows
// that the cases below query.
class JetDatabase {
 public:
  JetDatabase() {
    sqlite3_open(":memory:", &db_);
    EXPECT_EQ(RegisterJetFunctions(db_), SQLITE_OK);
    Exec(R"sql(
      CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER);
      INSERT INTO Tbl_About VALUES (1, '5.1', 0), (2, '5.2', 1), (3, '5.3', -1), (4, '5.4', NULL);
      CREATE TABLE Rel (ID INTEGER PRIMARY KEY, Naam TEXT, Plaats TEXT, Bedrag REAL, Datum TEXT, Code TEXT);
      INSERT INTO Rel VALUES (1, 'Bakker', 'Utrecht', 12.5, '2026-03-02', 'A1'),
        (2, 'jansen', 'Zwolle', NULL, '2025-12-31 23:59:00', 'B22'), (3, 'Éclair', NULL, -3, '2026-01-15', '7'),
        (4, 'van Dijk', 'Gouda', 0, NULL, NULL);
      CREATE TABLE "Tbl Space" ("Mijn Veld" TEXT);
      INSERT INTO "Tbl Space" VALUES ('x');
    )sql");
  }
  ~JetDatabase() { sqlite3_close(db_); }

  void Exec(const std::string& sql) {
    char* error = nullptr;
    sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(error, nullptr) << error << "\n" << sql;
    sqlite3_free(error);
  }

  // Rows as "a|b; c|d": texts quoted, reals in SQLite's text form, NULL as
  // NULL; an error as "error: <message>".
  std::string Rows(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
      return "error: " + std::string(sqlite3_errmsg(db_));
    std::string out;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      if (!out.empty()) out += "; ";
      for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        if (i) out += "|";
        const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
        switch (sqlite3_column_type(statement, i)) {
          case SQLITE_NULL: out += "NULL"; break;
          case SQLITE_TEXT: out += "'" + std::string(text) + "'"; break;
          default: out += text; break;
        }
      }
    }
    if (rc != SQLITE_DONE) out = "error: " + std::string(sqlite3_errmsg(db_));
    sqlite3_finalize(statement);
    return out;
  }

 private:
  sqlite3* db_ = nullptr;
};

struct Case {
  const char* jet;
  const char* expected;
  const char* check = nullptr;  // a query whose rows are expected instead (after a change)
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    JetDatabase db;
    std::string sql = TranslateJetSql(c.jet);
    std::string rows = db.Rows(sql);
    if (c.check) rows = db.Rows(TranslateJetSql(c.check));
    EXPECT_EQ(rows, c.expected) << c.jet << "\n  became: " << sql;
  }
}

TEST(JetSql, DeleteStarAndYesNoValues) {
  RunCases({
      {"DELETE * FROM Rel WHERE ID > 2", "1; 2", "SELECT ID FROM Rel"},
      {"delete Rel.* from Rel where ID = 1", "2; 3; 4", "SELECT ID FROM Rel"},
      {"DELETE FROM Rel WHERE ID = 4", "1; 2; 3", "SELECT ID FROM Rel"},
      // Yes/no columns hold 1; a value written by Jet itself (-1) is true as well.
      {"SELECT ID FROM Tbl_About WHERE CurrentVersion=True", "2; 3"},
      {"SELECT ID FROM Tbl_About WHERE CurrentVersion = False", "1"},
      {"SELECT ID FROM Tbl_About WHERE CurrentVersion <> True", "1"},
      {"SELECT ID FROM Tbl_About WHERE CurrentVersion <> False", "2; 3"},
      {"SELECT ID FROM Tbl_About WHERE True = CurrentVersion", "2; 3"},
      {"SELECT ID FROM Tbl_About WHERE CurrentVersion", "2; 3"},
      {"SELECT ID FROM Tbl_About WHERE Not CurrentVersion", "1"},
      {"SELECT True, False, IIf(False, 'ja', 'nee')", "1|0|'nee'"},
      {"UPDATE Tbl_About SET CurrentVersion = True, Version = 'x' WHERE CurrentVersion = False", "1|'x'",
       "SELECT CurrentVersion, Version FROM Tbl_About WHERE ID = 1"},
      {"INSERT INTO Tbl_About (ID, CurrentVersion) VALUES (9, True)", "1",
       "SELECT CurrentVersion FROM Tbl_About WHERE ID = 9"},
  });
}

TEST(JetSql, DateLiteralsAreMonthDayYearAndBecomeIsoText) {
  RunCases({
      {"SELECT #3/1/2026#", "'2026-03-01'"},
      {"SELECT #12/31/2025 11:59:00 PM#, #1/2/2026 0:05#", "'2025-12-31 23:59:00'|'2026-01-02 00:05:00'"},
      {"SELECT #2026-03-02#, #13/1/2026#, #1/2/99#", "'2026-03-02'|'2026-01-13'|'1999-01-02'"},
      {"SELECT Naam FROM Rel WHERE Datum >= #1/1/2026# ORDER BY ID", "'Bakker'; 'Éclair'"},
      {"SELECT Naam FROM Rel WHERE Datum Between #12/31/2025# And #1/31/2026# ORDER BY ID", "'jansen'; 'Éclair'"},
      // Not a date: left to SQLite, which refuses it.
      {"SELECT #hello#", "error: unrecognized token: \"#\""},
  });
}

TEST(JetSql, ConcatenationTreatsNullAsEmptyAndBindsAfterPlus) {
  RunCases({
      {"SELECT Naam & ' ' & Plaats FROM Rel WHERE ID = 3", "'Éclair '"},
      {"SELECT Naam & \", \" & Plaats AS Adres FROM Rel WHERE ID = 1", "'Bakker, Utrecht'"},
      {"SELECT 'a' & 1 + 2, 1 + 2 & 'x', 2 * 3 & 4 - 1", "'a3'|'3x'|'63'"},
      {"SELECT Null & Null, Null & 'b'", "NULL|'b'"},
      {"SELECT 'Bedrag: ' & Bedrag FROM Rel WHERE ID IN (1, 3)", "'Bedrag: 12.5'; 'Bedrag: -3'"},
      {"SELECT ID FROM Rel WHERE Naam & 'X' = 'bakkerx'", "1"},
      {"SELECT Left(Naam & Plaats, 8), Len(Naam & Plaats) FROM Rel WHERE ID = 1", "'BakkerUt'|13"},
      {"SELECT ID FROM Rel WHERE Naam & Plaats Is Null", ""},
      {"SELECT ID FROM Rel WHERE Not Code & '' = 'a1' ORDER BY ID", "2; 3; 4"},
  });
}

TEST(JetSql, LiteralsNamesAndCaseOfText) {
  RunCases({
      {"SELECT \"abc\", \"it's\", \"say \"\"hi\"\"\", 'it''s'", "'abc'|'it's'|'say \"hi\"'|'it's'"},
      {"SELECT Naam FROM Rel WHERE Plaats = \"Zwolle\"", "'jansen'"},
      {"SELECT [Mijn Veld] FROM [Tbl Space]", "'x'"},
      {"SELECT [Rel].[Naam] FROM [Rel] WHERE [ID] = 1", "'Bakker'"},
      // Jet's syntax inside a literal is text, left alone.
      {"SELECT '[ID] & True #1/1/2026# DELETE * FROM', \"TOP 5 [x]\"",
       "'[ID] & True #1/1/2026# DELETE * FROM'|'TOP 5 [x]'"},
      {"SELECT Naam FROM Rel WHERE Naam = 'BAKKER'", "'Bakker'"},
      {"SELECT Naam FROM Rel WHERE Naam IN ('JANSEN', 'x')", "'jansen'"},
      {"SELECT Naam FROM Rel WHERE Naam Not In ('JANSEN', 'bakker') ORDER BY ID", "'Éclair'; 'van Dijk'"},
      {"SELECT Naam FROM Rel WHERE Naam Between 'a' And 'C'", "'Bakker'"},
      {"SELECT Naam FROM Rel WHERE Naam > 'EA' ORDER BY Naam", "'Éclair'; 'jansen'; 'van Dijk'"},
      {"SELECT Naam FROM Rel ORDER BY Naam DESC, ID", "'van Dijk'; 'jansen'; 'Éclair'; 'Bakker'"},
      {"SELECT UCase(N), count(*) FROM (SELECT Naam AS N FROM Rel UNION ALL SELECT 'BAKKER') GROUP BY N ORDER BY 1",
       "'BAKKER'|2; 'ÉCLAIR'|1; 'JANSEN'|1; 'VAN DIJK'|1"},
      {"SELECT count(*) FROM Rel AS a INNER JOIN Rel AS b ON UCase(a.Naam) = b.Naam", "4"},
      {"SELECT 'Eclair' = 'Éclair', 'éclair' = 'ÉCLAIR'", "0|1"},
  });
}

TEST(JetSql, LikePatternsTopDistinctrowAndNulls) {
  RunCases({
      {"SELECT Naam FROM Rel WHERE Naam Like 'b*'", "'Bakker'"},
      {"SELECT Naam FROM Rel WHERE Naam Like \"*DIJK\"", "'van Dijk'"},
      {"SELECT Naam FROM Rel WHERE Naam Like '?ansen'", "'jansen'"},
      {"SELECT Code FROM Rel WHERE Code Like 'B##' OR Code Like '#'", "'B22'; '7'"},
      {"SELECT Naam FROM Rel WHERE Naam Like '[a-c]*'", "'Bakker'"},
      {"SELECT Naam FROM Rel WHERE Naam Like '[!a-k]*' ORDER BY ID", "'Éclair'; 'van Dijk'"},
      {"SELECT Naam FROM Rel WHERE Naam Like 'é*'", "'Éclair'"},
      {"SELECT Naam FROM Rel WHERE Naam Not Like '*E*' ORDER BY ID", "'Éclair'; 'van Dijk'"},
      {"SELECT Naam FROM Rel WHERE Naam Like 'B%' OR Naam Like 'jans_n'", "'Bakker'; 'jansen'"},
      {"SELECT 'a*b' Like 'a[*]b', 'axb' Like 'a[*]b', Null Like 'a'", "1|0|NULL"},
      {"SELECT ID FROM Rel WHERE Plaats Is Null", "3"},
      {"SELECT ID FROM Rel WHERE Plaats Is Not Null AND Datum Is Not Null", "1; 2"},
      {"SELECT TOP 2 ID FROM Rel ORDER BY ID DESC;", "4; 3"},
      {"SELECT DISTINCT TOP 1 Plaats FROM Rel WHERE Plaats Is Not Null ORDER BY Plaats", "'Gouda'"},
      {"SELECT Naam FROM Rel WHERE ID IN (SELECT TOP 1 ID FROM Rel ORDER BY Naam DESC)", "'van Dijk'"},
      {"SELECT DISTINCTROW Plaats FROM Rel WHERE Plaats Is Not Null ORDER BY Plaats", "'Gouda'; 'Utrecht'; 'Zwolle'"},
      {"SELECT 7 Mod 3, Left$('abc', 1), IsNull(Plaats) FROM Rel WHERE ID = 3", "1|'a'|1"},
  });
}

TEST(JetSql, UnknownSyntaxReachesSqliteUnchanged) {
  for (const char* sql : {"SELECT Naam FRM Rel", "INSERT INTO t (a, b) VALUES (1, 'x')", "SELECT 'a' || 'b'",
                          "CREATE TABLE t (a TEXT CHECK (a <> ''), b INTEGER DEFAULT 0)", "SELECT * FROM Rel WHERE",
                          "SELECT 'unclosed", "SELECT [unclosed", "SELECT TOP 5 PERCENT Naam FROM Rel", "", "  "})
    EXPECT_EQ(TranslateJetSql(sql), sql);
}

}  // namespace
}  // namespace vmu
