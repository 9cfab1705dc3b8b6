// The table-driven transfer, run through Convert on real SQLite files.
#include "conversion/table_transfer.h"

#include <gtest/gtest.h>

#include "conversion/conversion_test_env.h"

namespace vmu {
namespace {

using testing::ControlRow;
using testing::ConversionEnv;
using testing::kConvDb;
using testing::kMovedDb;
using testing::kNewDb;
using testing::kOldDb;

// An old database with customers and invoices, a new one whose layout has
// renamed a column and gained a table, and its own rows that the delete pass
// must clear (or keep).
void WithShop(ConversionEnv& e) {
  e.WithVersion(kOldDb, "'5.1'");
  e.Sql(kOldDb, "CREATE TABLE Klant (Nr INTEGER, Naam TEXT, Plaats TEXT);"
        "INSERT INTO Klant VALUES (1, 'Jansen', 'Assen'), (2, 'De Vries', NULL), (3, 'Bakker', 'Zwolle');"
        "CREATE TABLE Factuur (Nr INTEGER, Klant INTEGER, Datum TEXT, Bedrag REAL, Notitie TEXT, Bijlage BLOB);"
        "INSERT INTO Factuur VALUES (10, 1, '2023-12-31 00:00:00', 1234.56, 'kort', x'00FF10');"
        "INSERT INTO Factuur VALUES (11, 2, NULL, -0.01, NULL, NULL);"
        "INSERT INTO Factuur VALUES (12, 3, '1999-01-02 13:45:00', 922337203685477.58, "
        "  printf('%.*c', 100000, 'x'), zeroblob(70000));CREATE TABLE Leeg (A INTEGER);");
  e.WithVersion(kNewDb, "'5.2'");
  e.Sql(kNewDb,
        "CREATE TABLE Klant (Nr INTEGER PRIMARY KEY, Naam TEXT NOT NULL, Woonplaats TEXT, Land TEXT DEFAULT 'NL');"
        "INSERT INTO Klant (Nr, Naam) VALUES (99, 'Voorbeeld');"
        "CREATE TABLE Factuur (Nr INTEGER, Klant INTEGER, Datum TEXT, Bedrag REAL, Notitie TEXT, Bijlage BLOB);"
        "CREATE TABLE Leeg (A INTEGER);"
        "CREATE TABLE Instelling (Naam TEXT); INSERT INTO Instelling VALUES ('blijft');");
}

std::vector<ControlRow> ShopControl() {
  return {
      {"Factuur", 1, 2, true, "SELECT * FROM Factuur ORDER BY Nr", "Factuur", "Facturen"},
      {"Klant", 2, 1, true, "SELECT Nr, Naam, Plaats AS Woonplaats FROM Klant ORDER BY Nr",
       "SELECT * FROM Klant", "Klanten"},
      {"Instelling", 3, 3, false, "SELECT 'nieuw' AS Naam", "Instelling", "Instellingen"},
      {"Leeg", 4, 4, true, "SELECT * FROM Leeg", "Leeg", "Lege tabel"},
  };
}

TEST(Transfer, EmptiesThenFillsTheNewDatabaseAndMovesItToTheOldName) {
  ConversionEnv e;
  WithShop(e);
  e.WithControlRows(ShopControl());
  e.view.SetText(Control::Label1_1, "De update wordt nu uitgevoerd. Even geduld aub...");
  const std::string old_bytes = e.prefix.Read(kOldDb);
  e.Convert();
  ASSERT_FALSE(e.state().FailureFlag) << e.state().ResultText;

  EXPECT_EQ(e.Log(),
            "Check versie oude database: 5.1 versus te verwachtte versie: 5.1\r\n"
            "Check versie nieuwe database: 5.2 versus te verwachtte versie: 5.2\r\n"
            "delete * from Factuur\r\n"
            "delete * from Klant\r\n"
            "delete * from Leeg\r\n"
            "Overzetten Klant\r\n"
            "Overzetten Factuur\r\n"
            "Overzetten Instelling\r\n"
            "Overzetten Leeg\r\n");
  const std::string out = e.Out();
  EXPECT_TRUE(e.Printed("set Label1(1) text \"De update wordt nu uitgevoerd. Even geduld aub...\\r\\nLet op: de "
                        "conversie kan enige tijd duren, soms lijkt het of het programma niet meer reageert maar "
                        "dat is niet zo. Wacht totdat het programma heeft aangegeven dat de conversie gereed is. "
                        "Werk bij voorbaat niet met uw computer\""));
  // Four control rows: a bar of ten steps, one per row per pass and two at the end.
  EXPECT_TRUE(e.Printed("set Pbr max 10"));
  EXPECT_NE(out.find("set Pbr value 10\nset Label2 text \"\"\nset Pbr visible false\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("set Pbr value 11"), std::string::npos);
  EXPECT_FALSE(e.Printed("set Label2 text \"Leegmaken Instelling\""));
  EXPECT_TRUE(e.Printed("set Label2 text \"Overzetten Instelling\""));
  EXPECT_TRUE(e.Printed("set Label2 text \"Kopiëren files\""));
  EXPECT_TRUE(e.Printed("notice text \"Klanten\\r\\n\\r\\n3 records\""));
  EXPECT_TRUE(e.Printed("notice text \"Lege tabel\\r\\n\\r\\n0 records\""));
  EXPECT_LT(out.find("Leegmaken Leeg"), out.find("notice text \"Klanten"));
  EXPECT_FALSE(e.Shown(Control::CancelButton).visible);
  EXPECT_FALSE(e.Shown(Control::Pbr).visible);
  EXPECT_FALSE(e.state().OldConn->IsOpen());
  EXPECT_FALSE(e.state().NewConn->IsOpen());
  EXPECT_FALSE(e.state().ConvConn->IsOpen());

  // The filled database now carries the old name in the update folder.
  EXPECT_FALSE(e.prefix.Exists(kNewDb));
  ASSERT_TRUE(e.prefix.Exists(kMovedDb));
  EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT Nr, Naam, quote(Woonplaats), Land FROM Klant ORDER BY Nr"),
            (std::vector<std::string>{"1|Jansen|'Assen'|NL", "2|De Vries|NULL|NL", "3|Bakker|'Zwolle'|NL"}));
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT Naam FROM Instelling ORDER BY Naam"),
            (std::vector<std::string>{"blijft", "nieuw"}));
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT count(*) FROM Leeg"), std::vector<std::string>{"0"});
  // Nulls, dates, amounts, long texts and binary values arrive unchanged.
  const std::string every_value =
      "SELECT Nr, Klant, quote(Datum), typeof(Datum), quote(Bedrag), typeof(Bedrag), quote(Notitie),"
      " quote(Bijlage), typeof(Bijlage) FROM Factuur ORDER BY Nr";
  EXPECT_EQ(e.Rows(kMovedDb, every_value), e.Rows(kOldDb, every_value));
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT length(Notitie), length(Bijlage) FROM Factuur WHERE Nr = 12"),
            std::vector<std::string>{"100000|70000"});
}

TEST(Transfer, AFailingTableStopsTheConversionAndKeepsWhatWasWritten) {
  ConversionEnv e;
  WithShop(e);
  std::vector<ControlRow> control = ShopControl();
  // Klant goes first and fills; Factuur's query brings a column the new
  // layout lacks.
  control[0].query = "SELECT Nr, Klant, Datum AS Factuurdatum FROM Factuur";
  e.WithControlRows(control);
  const std::string old_bytes = e.prefix.Read(kOldDb);
  e.Convert();

  EXPECT_TRUE(e.state().FailureFlag);
  EXPECT_EQ(e.state().ResultText.rfind(
                "Er zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: ", 0), 0u);
  EXPECT_NE(e.state().ResultText.find("Factuurdatum"), std::string::npos) << e.state().ResultText;
  EXPECT_NE(e.Log().find("Overzetten Factuur\r\nFout: "), std::string::npos) << e.Log();
  EXPECT_EQ(e.Shown(Control::Label1_1).color, TextColor::Red);
  EXPECT_FALSE(e.Shown(Control::CmdWizard_0).enabled);
  EXPECT_FALSE(e.Shown(Control::CmdWizard_1).enabled);
  // The bar and the status line keep what they last showed.
  EXPECT_EQ(e.Shown(Control::Label2).text, "Overzetten Factuur");
  EXPECT_EQ(e.Shown(Control::Pbr).value, 6);
  EXPECT_TRUE(e.Shown(Control::Pbr).visible);
  EXPECT_FALSE(e.state().NewConn->IsOpen());

  // The new database keeps its own name, with the earlier table filled.
  EXPECT_FALSE(e.prefix.Exists(kMovedDb));
  EXPECT_EQ(e.Rows(kNewDb, "SELECT Naam FROM Klant ORDER BY Nr"),
            (std::vector<std::string>{"Jansen", "De Vries", "Bakker"}));
  EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
}

TEST(Transfer, BadControlTablesEndOnTheErrorPath) {
  std::vector<std::vector<ControlRow>> bad = {
      {{"Klant", 1, 1, true, "SELEKT * FROM Klant", "Klant", "Klanten"}},
      {{"Klant", 1, 1, false, "SELECT * FROM Klant", "SELECT * FROM Bestaatniet", "Klanten"}},
      {{"Bestaatniet", 1, 1, true, "SELECT * FROM Klant", "Klant", "Klanten"}},
      // A query that would change the user's own database.
      {{"Klant", 1, 1, false, "DELETE FROM Klant", "Klant", "Klanten"}},
  };
  for (const auto& control : bad) {
    ConversionEnv e;
    WithShop(e);
    e.WithControlRows(control);
    const std::string old_bytes = e.prefix.Read(kOldDb);
    e.Convert();
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_EQ(e.state().ResultText.rfind("Er zijn fouten geconstateerd", 0), 0u) << e.state().ResultText;
    EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
    EXPECT_FALSE(e.prefix.Exists(kMovedDb));
  }
  {
    // A control table without the column the transfer needs.
    ConversionEnv e;
    WithShop(e);
    e.Sql(kConvDb, "CREATE TABLE TblTabels (tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER);"
                   "INSERT INTO TblTabels VALUES ('Klant', 1, 1);");
    e.Convert();
    EXPECT_TRUE(e.state().FailureFlag);
    EXPECT_NE(e.Log().find("Fout: "), std::string::npos);
  }
}

TEST(Transfer, TheMoveNeverReplacesAFile) {
  ConversionEnv e;
  WithShop(e);
  e.WithControlRows(ShopControl());
  e.prefix.Write(kMovedDb, "al aanwezig");
  e.Convert();
  EXPECT_TRUE(e.state().FailureFlag);
  EXPECT_EQ(e.Log().substr(e.Log().rfind("Overzetten Leeg")), "Overzetten Leeg\r\nFout: File already exists\r\n");
  EXPECT_EQ(e.prefix.Read(kMovedDb), "al aanwezig");
  EXPECT_TRUE(e.prefix.Exists(kNewDb));
  EXPECT_EQ(e.Shown(Control::Label2).text, "Kopiëren files");
  EXPECT_FALSE(e.Shown(Control::CmdWizard_1).enabled);
}

}  // namespace
}  // namespace vmu
