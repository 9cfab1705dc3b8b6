#include "files/recover_update.h"

#include <gtest/gtest.h>

#include <functional>

#include "files/backup_record.h"
#include "files/checksum.h"
#include "files/update_journal.h"
#include "platform/error.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

struct RecoverUpdate : testing::RunFixture, ::testing::Test {};

// A crash before the journal exists leaves only temporary files, and a
// conversion's copy of a Jet database: the next start removes them quietly,
// and nothing else.
TEST_F(RecoverUpdate, WithoutAJournalOnlyStrayTemporariesGo) {
  const char* stray[] = {"C:\\data\\Update\\.installatieV2.ini.vmu-123", "C:\\data\\Update\\.vmu-unpack-77-0-1",
                         "C:\\data\\.Update.ini.vmu-9", "C:\\prog\\.VM.EXE.vmu-42",
                         "C:\\data\\VM_DBv01.mdb.vmu-staging"};
  const char* kept[] = {"C:\\data\\Update\\VM.EXE", "C:\\data\\.vmu-notes", "C:\\data\\VM.ini", "C:\\prog\\VM.EXE",
                        "C:\\data\\VM_DBv01.mdb"};
  for (const char* path : stray) prefix.Write(path, "half");
  for (const char* path : kept) prefix.Write(path, "whole");

  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::NothingPending);
  for (const char* path : stray) EXPECT_FALSE(prefix.Exists(path)) << path;
  for (const char* path : kept) EXPECT_EQ(prefix.Read(path), "whole") << path;
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(prefix.Exists("C:\\data\\ConversieLog.TXT"));
}

// A journal or record is believed only as written and only inside the
// installation. A journal that fails is not acted on: nothing changes, the
// message names the line and the journal's place, and support can set it
// aside. A missing backup passes only when the file holds its bytes.
TEST_F(RecoverUpdate, AJournalOrRecordThatFailsItsChecksChangesNothing) {
  ctx.folders = {"C:\\Program Files\\velmora\\", "C:\\data\\", "", "", ""};
  prefix.Write("C:\\Program Files\\velmora\\VM.EXE", "nieuw");
  prefix.Write("C:\\elders\\Z.txt", "z");
  const std::string line = "Vervangen=0644|C:\\Program Files\\velmora\\VM.EXE|C:\\data\\ConversieBackup-1\\VM.EXE|" +
                           Checksum("oud") + "\r\n";
  const auto journal = [](const std::string& lines, const std::string& data = "C:\\DATA\\") {
    const std::string body =
        "VM_Update\r\n\r\nSoort=installatie\r\nPakket=\r\nProgrammamap=C:\\Program Files\\velmora\\"
        "\r\nDatamap=" +
        data + "\r\nVersionUpdate=5\r\nFase=bestanden\r\nVerslag=geen\r\n" + lines + "Einde=\r\n";
    return body + ChecksumLine(body, "Controle");
  };
  // Every cut and every flipped bit of a journal or a record is refused; a
  // long record reads in one pass.
  BackupRecord big{"5", {}};
  for (int n = 0; n < 20000; ++n) big.added.push_back("C:\\p\\f" + std::to_string(n));
  EXPECT_EQ(ParseBackupRecord(BackupRecordText(big)), big);
  const std::function<void(const std::string&)> parse[] = {[](auto& b) { ParseJournal(b); },
                                                           [](auto& b) { ParseBackupRecord(b); }};
  const std::string written[] = {journal(line), BackupRecordText({"5", {"C:\\p\\Nieuw.dll"}})};
  for (int kind = 0; kind < 2; ++kind) {
    for (std::size_t i = 0; i < written[kind].size(); ++i) {
      EXPECT_THROW(parse[kind](written[kind].substr(0, i)), VbError) << kind << " " << i;
      for (int bit = 0; bit < 8; ++bit) {
        std::string flipped = written[kind];
        flipped[i] = static_cast<char>(flipped[i] ^ (1 << bit));
        EXPECT_THROW(parse[kind](flipped), VbError) << kind << " " << i << " " << bit;
      }
    }
  }
  for (const std::string& hostile :
       {journal("Toevoegen=Z:\\elders\\Z.txt\r\n"), journal("Toevoegen=C:\\data\\..\\elders\\Z.txt\r\n"),
        journal("Vervangen=0644|C:\\Program Files\\velmora]VM.EXE|C:\\data\\ConversieBackup-1\\VM.EXE|00000000\r\n"),
        journal("Vervangen=0644|C:\\Program Files\\velmora\\VM.EXE|C:\\elders\\Z.txt|00000000\r\n"),
        journal(line, "C:\\elders\\"), journal("Fase=later\r\n"), journal("Onbekend=1\r\n")}) {
    prefix.Write("C:\\data\\UpdateJournaal.txt", hostile);
    EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::Failed) << hostile;
    EXPECT_NE(dialogs.messages.back().text.find("kan niet worden gelezen: regel "), std::string::npos) << hostile;
    EXPECT_EQ(prefix.Read("C:\\elders\\Z.txt") + prefix.Read("C:\\Program Files\\velmora\\VM.EXE"), "znieuw");
  }
  EXPECT_EQ(dialogs.messages.back().text,
            "De vorige update is onderbroken en kon niet worden teruggezet.\r\nHet journaal kan niet worden gelezen: "
            "regel 10 (Onbekend=1).\r\n\r\nEr is niets gewijzigd. Neem contact op met uw leverancier en noem de "
            "plaats van het journaal: C:\\data\\UpdateJournaal.txt");
  EXPECT_EQ(UnfinishedUpdateText(ctx),
            "Het journaal van de vorige update kan niet worden gelezen. Er is niets gewijzigd. Neem contact op met "
            "uw leverancier en noem de plaats van het journaal: C:\\data\\UpdateJournaal.txt");
  EXPECT_EQ(SetJournalAside(ctx.fs, ctx.folders.DataDir), "C:\\data\\UpdateJournaal-opzij-1.txt");
  EXPECT_EQ(prefix.Read("C:\\data\\UpdateJournaal-opzij-1.txt"), journal("Onbekend=1\r\n"));
  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::NothingPending);

  prefix.Write("C:\\data\\UpdateJournaal.txt", journal(line));
  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::Failed);
  prefix.Write("C:\\Program Files\\velmora\\VM.EXE", "oud");
  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::Restored);
}

}  // namespace
}  // namespace vmu
