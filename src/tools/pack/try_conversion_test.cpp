#include "tools/pack/try_conversion.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::RunProgram;
using testing::Tree;
using testing::WriteConversionSource;
using vmu::testing::TempDir;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(TryConversion, RunsOnCopiesAndSaysHowEachTableWent) {
  TempDir dir;
  WriteConversionSource(dir.Sub("src"), dir.Sub("old.mdb"));
  const auto packed = RunProgram({BinDir() + "/vmu-pack", dir.Sub("src"), dir.Sub("p.VMU")});
  ASSERT_EQ(packed.status, 0) << packed.err;
  const auto before = Tree(dir.path());

  for (const std::string& package : {dir.Sub("src"), dir.Sub("p.VMU")}) {
    SCOPED_TRACE(package);
    std::ostringstream out;
    EXPECT_EQ(TryConversion(package, dir.Sub("old.mdb"), out), 0) << out.str();
    EXPECT_TRUE(Has(out.str(), "  Overzetten Klant\n")) << out.str();
    EXPECT_TRUE(Has(out.str(), "\nKlant: 2 rows read, 2 written, one statement, ")) << out.str();
    // Boeking's QueryDest is a SELECT; the row with Bedrag 0 is left out.
    EXPECT_TRUE(Has(out.str(), "\nBoeking: 2 rows read, 2 written, ")) << out.str();
    EXPECT_TRUE(out.str().ends_with(" s\nthe conversion succeeds\n")) << out.str();
  }
  EXPECT_EQ(Tree(dir.path()), before);  // the package, its source and the database as they were
}

TEST(TryConversion, AFailureEndsWithTheWizardsText) {
  struct Case {
    const char* what;
    const char* spoil_old_db;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"wrong old version",
       "UPDATE Tbl_About SET Version = '5.0'",
       {"the conversion is refused:\nDe huidige versie van het programma bestand"}},  // the text: convert_test
      {"a row the new database refuses",
       "INSERT INTO Klanten VALUES (3, NULL, 'Ede', NULL), (4, 'Jansen', 'Ede', NULL)",
       {"  Overzetten Klant\n", "\nKlant: 2 rows read, 2 written, row by row (",
        "the conversion fails:\nEr zijn fouten geconstateerd tijdens de conversie met de volgende omschrijving: ",
        "NOT NULL constraint failed: Klant.Naam"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    WriteConversionSource(dir.Sub("src"), dir.Sub("old.mdb"));
    ExecuteSql(dir.Sub("old.mdb"), c.spoil_old_db);
    const auto before = Tree(dir.path());
    std::ostringstream out;
    EXPECT_EQ(TryConversion(dir.Sub("src"), dir.Sub("old.mdb"), out), 1);
    for (const std::string& line : c.lines) EXPECT_TRUE(Has(out.str(), line)) << line << "\n" << out.str();
    EXPECT_FALSE(Has(out.str(), "succeeds"));
    EXPECT_EQ(Tree(dir.path()), before);
  }
}

}  // namespace
}  // namespace vmu::pack
