// The table-driven transfer, run through Convert on real SQLite files. What
// the wizard window shows of it is tested in wizard/conversion_step_test.
#include "conversion/table_transfer.h"

#include <gtest/gtest.h>

#include "conversion/conversion_test_env.h"
#include "platform/error.h"

namespace vmu {
namespace {

using Outcome = ConversionResult::Outcome;
using testing::ControlRow;
using testing::ConversionEnv;
using testing::kConvDb;
using testing::kMovedDb;
using testing::kNewDb;
using testing::kOldDb;

TEST(Transfer, EmptiesThenFillsTheNewDatabaseAndMovesItToTheOldName) {
  ConversionEnv e;
  e.WithShop();
  e.WithControlRows(e.ShopControl());
  const std::string old_bytes = e.prefix.Read(kOldDb);
  e.Convert();
  ASSERT_EQ(e.result.outcome, Outcome::Converted) << e.result.text << e.result.error_description;

  EXPECT_EQ(e.Log(), testing::kShopLog);
  const std::string& out = e.display.lines;
  EXPECT_EQ(out.rfind("main text + Let op: de conversie kan enige tijd duren, soms lijkt het of het programma niet "
                      "meer reageert maar dat is niet zo. Wacht totdat het programma heeft aangegeven dat de "
                      "conversie gereed is. Werk bij voorbaat niet met uw computer\n",
                      0),
            0u)
      << out;
  // Four control rows: a bar of ten steps, one per row per pass and two at the end.
  EXPECT_TRUE(e.Shown("progress 0 of 10"));
  EXPECT_NE(out.find("step 10\nstatus \nprogress hidden\n"), std::string::npos) << out;
  EXPECT_FALSE(e.Shown("step 11"));
  EXPECT_FALSE(e.Shown("status Leegmaken Instelling"));
  EXPECT_TRUE(e.Shown("status Overzetten Instelling"));
  EXPECT_TRUE(e.Shown("status Kopiëren files"));
  EXPECT_TRUE(e.Shown("notice Klanten\r\n\r\n3 records"));
  EXPECT_TRUE(e.Shown("notice Lege tabel\r\n\r\n0 records"));
  // The notice window is made before the first notice, after the delete pass.
  EXPECT_LT(out.find("Leegmaken Leeg"), out.find("notice prepared"));
  EXPECT_LT(out.find("notice prepared"), out.find("notice Klanten"));
  EXPECT_TRUE(e.Shown("cancel hidden"));
  EXPECT_EQ(e.databases.made, 3);
  EXPECT_EQ(e.databases.left_open, 0);

  // The filled database now carries the old name in the update folder.
  EXPECT_FALSE(e.prefix.Exists(kNewDb));
  ASSERT_TRUE(e.prefix.Exists(kMovedDb));
  EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT Nr, Naam, quote(Woonplaats), Land FROM Klant ORDER BY Nr"),
            (std::vector<std::string>{"1|Jansen|'Assen'|NL", "2|De Vries|NULL|NL", "3|Bakker|'Zwolle'|NL"}));
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT Naam FROM Instelling ORDER BY Naam"),
            (std::vector<std::string>{"blijft", "nieuw"}));
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT count(*) FROM Leeg"), std::vector<std::string>{"0"});
  // Long values arrive whole (each kind of value: the destination's and the paths' tests).
  EXPECT_EQ(e.Rows(kMovedDb, "SELECT length(Notitie), length(Bijlage) FROM Factuur WHERE Nr = 12"),
            std::vector<std::string>{"100000|70000"});
}

TEST(Transfer, AFailingTableStopsTheConversionAndKeepsWhatWasWritten) {
  ConversionEnv e;
  e.WithShop();
  std::vector<ControlRow> control = e.ShopControl();
  // Klant goes first and fills; Factuur's query brings a column the new
  // layout lacks.
  control[0].query = "SELECT Nr, Klant, Datum AS Factuurdatum FROM Factuur";
  e.WithControlRows(control);
  const std::string old_bytes = e.prefix.Read(kOldDb);
  e.Convert();

  EXPECT_EQ(e.result.outcome, Outcome::Failed);
  EXPECT_TRUE(e.result.buttons_blocked);
  EXPECT_NE(e.result.error_description.find("Factuurdatum"), std::string::npos) << e.result.error_description;
  const std::string log = e.Log();
  EXPECT_EQ(log.substr(log.size() - 20), "Overzetten Factuur\r\n") << log;
  // The bar and the status line keep what they last showed.
  EXPECT_TRUE(
      e.display.lines.ends_with("step 6\nstatus Overzetten Factuur\nredraw\nredraw\nnotice Facturen\r\n\r\n3 "
                                "records\n"))
      << e.display.lines;
  EXPECT_EQ(e.databases.left_open, 0);

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
    e.WithShop();
    e.WithControlRows(control);
    const std::string old_bytes = e.prefix.Read(kOldDb);
    e.Convert();
    EXPECT_EQ(e.result.outcome, Outcome::Failed) << control[0].query;
    EXPECT_EQ(e.prefix.Read(kOldDb), old_bytes);
    EXPECT_FALSE(e.prefix.Exists(kMovedDb));
    EXPECT_EQ(e.databases.left_open, 0);
  }
  {
    // A control table without the column the transfer needs.
    ConversionEnv e;
    e.WithShop();
    e.Sql(kConvDb,
          "CREATE TABLE TblTabels (tabelnaam TEXT, OrderDelete INTEGER, OrderUpdate INTEGER);"
          "INSERT INTO TblTabels VALUES ('Klant', 1, 1);");
    e.Convert();
    EXPECT_EQ(e.result.outcome, Outcome::Failed);
    EXPECT_FALSE(e.result.error_description.empty());
  }
}

TEST(Transfer, TheMoveNeverReplacesAFile) {
  ConversionEnv e;
  e.WithShop();
  e.WithControlRows(e.ShopControl());
  e.prefix.Write(kMovedDb, "al aanwezig");
  e.Convert();
  EXPECT_EQ(e.result.outcome, Outcome::Failed);
  EXPECT_EQ(e.result.error_number, kFileAlreadyExists);
  EXPECT_EQ(e.result.error_description, "File already exists");
  EXPECT_TRUE(e.result.buttons_blocked);
  EXPECT_EQ(e.Log().substr(e.Log().rfind("Overzetten Leeg")), "Overzetten Leeg\r\n");
  EXPECT_EQ(e.prefix.Read(kMovedDb), "al aanwezig");
  EXPECT_TRUE(e.prefix.Exists(kNewDb));
  EXPECT_TRUE(e.display.lines.ends_with("\nstatus Kopiëren files\nredraw\n")) << e.display.lines;
}

}  // namespace
}  // namespace vmu
