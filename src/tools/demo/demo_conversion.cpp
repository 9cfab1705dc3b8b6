#include "tools/demo/demo_conversion.h"

#include <filesystem>

#include "platform/sqlite/sqlite_exec.h"

namespace vmu {

namespace {

// Version 5.3 of the application's database. Relaties has renamed columns
// and a new one with a default; Periodeoverzicht is new; the sample rows of
// Relaties and Boekingen are emptied by the conversion, the standard
// accounts of Grootboek are kept.
constexpr const char* kNewDatabase = R"sql(
CREATE TABLE Tbl_About (ID INTEGER PRIMARY KEY, Version TEXT, CurrentVersion INTEGER NOT NULL DEFAULT 0);
INSERT INTO Tbl_About VALUES (1, '5.1', 0), (2, '5.2', 0), (3, '5.3', 1);
CREATE TABLE Tbl_Relaties (RelatieID INTEGER PRIMARY KEY, Relatienaam TEXT, Woonplaats TEXT,
  Debiteur INTEGER, Land TEXT DEFAULT 'Nederland');
INSERT INTO Tbl_Relaties VALUES (1, 'Voorbeeldrelatie', 'Amsterdam', 1, 'Nederland');
CREATE TABLE Tbl_Boekingen (BoekingID INTEGER PRIMARY KEY, RelatieID INTEGER, Datum TEXT,
  Omschrijving TEXT, Bedrag NUMERIC, Geboekt INTEGER NOT NULL DEFAULT 0);
INSERT INTO Tbl_Boekingen VALUES (1, 1, '2026-01-01', 'Voorbeeldboeking', 100, 0);
CREATE TABLE Tbl_Periodeoverzicht (BoekingID INTEGER PRIMARY KEY, Omschrijving TEXT, Soort TEXT,
  Bedrag NUMERIC);
CREATE TABLE Tbl_Grootboek (Rekening TEXT PRIMARY KEY, Omschrijving TEXT, Eigen INTEGER NOT NULL DEFAULT 0);
INSERT INTO Tbl_Grootboek VALUES ('0100', 'Kas', 0), ('1300', 'Debiteuren', 0), ('8000', 'Omzet', 0),
  ('8100', 'Omzet verlegde btw', 0);
)sql";

// The control table, its SQL written for Jet as the package author writes
// it. The delete pass runs from the overview down to the relations, the
// transfer the other way round; the date literal is month/day/year.
constexpr const char* kControlDatabase = R"sql(
CREATE TABLE TblTabels (ID INTEGER PRIMARY KEY, tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER,
  DeleteTarget INTEGER NOT NULL DEFAULT 0, query TEXT, QueryDest TEXT, TlsDescription TEXT);
INSERT INTO TblTabels VALUES
  (1, 'Tbl_Relaties', 3, 1, 1,
   'SELECT RelatieID, Naam AS Relatienaam, Plaats AS Woonplaats, Debiteur FROM Tbl_Relaties',
   'Tbl_Relaties', 'Relaties: klanten en leveranciers'),
  (2, 'Tbl_Boekingen', 2, 2, 1, 'SELECT * FROM Tbl_Boekingen', 'SELECT * FROM Tbl_Boekingen',
   'Boekingen'),
  (3, 'Tbl_Periodeoverzicht', 1, 3, 1,
   'SELECT BoekingID, UCase(Omschrijving) AS Omschrijving, IIf(Bedrag < 0, ''Credit'', ''Debet'') AS Soort, ' ||
   'Bedrag FROM Tbl_Boekingen WHERE Datum >= #03/01/2026#',
   'Tbl_Periodeoverzicht', 'Periodeoverzicht: boekingen vanaf 1 maart 2026'),
  (4, 'Tbl_Grootboek', 4, 4, 0,
   'SELECT Rekening, Omschrijving, Eigen FROM Tbl_Grootboek WHERE Eigen = True',
   'Tbl_Grootboek', 'Eigen grootboekrekeningen');
)sql";

}  // namespace

void WriteDemoConversionDatabases(const std::string& folder) {
  // Made afresh: the SQL would fail on the tables of an earlier run.
  for (const char* name : {kDemoNewDatabase, kDemoControlDatabase})
    std::filesystem::remove(std::filesystem::path(folder) / name);
  ExecuteSql(folder + "/" + kDemoNewDatabase, kNewDatabase);
  ExecuteSql(folder + "/" + kDemoControlDatabase, kControlDatabase);
}

}  // namespace vmu
