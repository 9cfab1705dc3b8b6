// The user's old database as the Windows edition left it, a Jet file: the
// wizard converts it through a SQLite copy, or refuses it, and never
// changes it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "conversion/conversion_texts.h"
#include "conversion/database_names.h"
#include "files/lock_file.h"
#include "platform/mdb/mdb_jet_files.h"
#include "platform/sqlite/sqlite_databases.h"
#include "testing/jet_test_files.h"
#include "wizard/conversion_step.h"
#include "wizard/install_test_fixture.h"

namespace vmu {
namespace {

using namespace testing;

struct JetWizard : ConversionWizard {
  JetWizard() : jet(prefix.fs()), databases(prefix.fs(), &jet) {
    ctx.databases = &databases;
    WithVersion(kNewDb, "'5.2'");
    WithControlRows(
        {{"Klant", 1, 1, true, "SELECT * FROM [Klant] WHERE Nummer < 100 ORDER BY Nummer", "Klant", "Klanten"}});
  }

  // Converts with `old` as the old database and checks that its bytes and
  // time stay and that no copy of it is left.
  void Convert(const std::string& old) {
    prefix.Write(kOldDb, old);
    struct stat before {};
    stat(prefix.Host(kOldDb).c_str(), &before);
    ConvertDatabase(*form);
    struct stat after {};
    stat(prefix.Host(kOldDb).c_str(), &after);
    EXPECT_EQ(prefix.Read(kOldDb), old);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(prefix.fs().ListFiles(std::string(kDataDir) + "*.vmu-staging").size(), 0u);
  }

  MdbJetFiles jet;
  SqliteDatabases databases;
};

TEST(JetConversion, AJet4DatabaseConvertsWithEveryValue) {
  JetWizard w;
  w.Sql(kNewDb,
        // Amounts without a column type, so that one with more digits than a
        // real holds stays as exact as in the copy.
        "CREATE TABLE Klant (Nummer INTEGER, Naam TEXT, Saldo, Korting SINGLE, Factor DOUBLE, Geboren DATETIME,"
        " Actief YESNO, Klasse BYTE, Punten SMALLINT, Bedrag, Notitie TEXT, Sleutel TEXT, Foto BLOB)");
  w.Convert(JetTestFile("velmora-jet4.mdb"));
  ASSERT_FALSE(w.form->state.FailureFlag) << w.form->state.ResultText;
  EXPECT_EQ(w.Rows(kMovedDb,
                   "SELECT quote(Nummer), quote(Naam), quote(Saldo), quote(Korting), quote(Factor),"
                   " quote(Geboren), quote(Actief), quote(Klasse), quote(Punten), quote(Bedrag),"
                   " quote(Notitie), quote(Sleutel), quote(Foto) FROM Klant WHERE Nummer <= 4 ORDER BY Nummer"),
            (std::vector<std::string>{
                "1|'Jeroen van Oosterhout'|1234.56|0.1|3.33333333333333314829e-01|'1974-09-21 14:30:05'|1|7|-300|"
                "98765.4321|'Café ‘t Hoekje: € 12,50'|'{6F9619FF-8B86-D011-B42D-00C04FC964FF}'|X'0001FF'",
                "2|'Zoë Çelik – ÿ'|-0.01|1.0e-07|1.0e+300|'1850-06-15 18:00:00'|0|0|32767|-0.0001|''|NULL|X''",
                "3|''|'922337203685477.5807'|-2.5|0.0|'12:00:00'|0|255|-32768|'12345678901234.5678'|NULL|NULL|NULL",
                "4|NULL|NULL|NULL|NULL|NULL|1|NULL|NULL|NULL|'regel 1\r\nregel 2'|NULL|NULL"}));
  EXPECT_NE(
      w.Log().find("Access-database gekopieerd naar C:\\Velmora\\VM_DBv01.mdb.vmu-staging: 2 tabellen, 8 records"),
      std::string::npos);
  // Memos and OLE objects on pages of their own, one and several.
  const auto repeated = [](const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
  };
  std::string bytes_hex;
  for (int b = 0; b < 256; ++b) bytes_hex += "0123456789ABCDEF"[b / 16] + std::string(1, "0123456789ABCDEF"[b % 16]);
  EXPECT_EQ(w.Rows(kMovedDb, "SELECT Notitie, hex(Foto) FROM Klant WHERE Nummer >= 5 ORDER BY Nummer"),
            (std::vector<std::string>{repeated("€ twaalf, ", 150) + "|" + repeated(bytes_hex, 8),
                                      repeated("één ", 2500) + "|" + repeated(bytes_hex, 40)}));

  // The comparison report reads the same copy, and leaves none behind either.
  w.Sql(kNewDb, "CREATE TABLE Klant (Nummer INTEGER)");  // the conversion moved the first one
  w.view.QueueAnswer(Answer::Ok);
  w.view.QueueAnswer(Answer::Ok);
  CmdCompareTables_Click(*w.form);
  EXPECT_NE(w.Log().find("****************** Old DB, Table: Klant\r\nNummer\r\nNaam\r\nSaldo\r\n"), std::string::npos);
  EXPECT_EQ(w.prefix.fs().ListFiles(std::string(kDataDir) + "*.vmu-staging").size(), 0u);
}

TEST(JetConversion, WhatCannotBeReadIsRefusedWithItsPath) {
  JetWizard w;
  const struct {
    std::string old_db, new_db, text;
  } cases[] = {
      {JetTestFile("ace-2010-encrypted-head.accdb"), "", OldDatabaseEncryptedText(kOldDb)},
      {"Dit is geen database, maar tekst.", "", OldDatabaseUnknownText(kOldDb)},
      {JetTestFile("velmora-jet4.mdb").substr(0, 12288), "", OldDatabaseDamagedText(kOldDb)},
      {JetTestFile("velmora-jet4.mdb"), JetTestFile("jet4-test.mdb"), PackageDatabaseIsJetText(kNewDb)},
  };
  for (const auto& c : cases) {
    if (!c.new_db.empty()) w.prefix.Write(kNewDb, c.new_db);
    w.Convert(c.old_db);
    EXPECT_TRUE(w.form->state.FailureFlag);
    EXPECT_TRUE(w.form->state.ButtonsBlocked);
    EXPECT_EQ(w.form->state.ResultText, c.text);
  }  // Velmora open on an Access 2007+ file keeps its lock file beside it.
  EXPECT_EQ(LockFileBeside("C:\\V\\VM_DBv01.ACCDB"), "C:\\V\\VM_DBv01.laccdb");
  EXPECT_EQ(LockFileBeside("C:\\V\\VM_DBv01.mdb"), "C:\\V\\VM_DBv01.ldb");
}

}  // namespace
}  // namespace vmu
