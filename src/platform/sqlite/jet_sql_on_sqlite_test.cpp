#include <gtest/gtest.h>

#include <string>

#include "platform/jet/jet_sql.h"
#include "platform/sqlite/jet_test_database.h"

namespace vmu {
namespace {

using testing::RunCases;

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
