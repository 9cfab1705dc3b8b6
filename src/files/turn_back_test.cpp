#include "files/turn_back.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/backup_record.h"
#include "platform/error.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

struct TurnBackFixture : testing::RunFixture, ::testing::Test {
  TurnBackFixture() {
    prefix.Write("C:\\prog\\VM.EXE", "nieuw exe");
    prefix.Write("C:\\data\\VM.ini", "[Main]\r\nVersion=10302\r\nVersionUpdate=5\r\n");
  }
  bool Run(bool completed) { return fTurnBack(ctx, dialogs, backup, dir_index, completed); }
  std::string Ini() { return prefix.Read("C:\\data\\VM.ini"); }

  std::array<std::string, 3> backup;
  int16_t dir_index = 0;
};

// The byte-exact log of a roll-back is pinned down by the update step's tests.
TEST_F(TurnBackFixture, RestoresBothFoldersKeepsTheBackupsAndLowersTheCounterOnlyWhenCompleted) {
  prefix.Write("C:\\data\\ConversieBackup-1\\VM.EXE", "oud exe");
  prefix.Write("C:\\data\\ConversieBackup-2\\Factuur.ini", "oud factuur");  // its target is gone
  EXPECT_TRUE(Run(true));
  EXPECT_EQ(prefix.Read("C:\\prog\\VM.EXE"), "oud exe");
  EXPECT_EQ(prefix.Read("C:\\data\\Factuur.ini"), "oud factuur");
  EXPECT_EQ(prefix.Read("C:\\data\\ConversieBackup-1\\VM.EXE"), "oud exe");
  EXPECT_NE(Ini().find("VersionUpdate=4\r\n"), std::string::npos);
  EXPECT_TRUE(Run(false));
  EXPECT_NE(Ini().find("VersionUpdate=4\r\n"), std::string::npos);
  EXPECT_TRUE(dialogs.messages.empty());

  // No backups: only the header, and the counter of an installation that was
  // never updated stays as it is.
  prefix.Write("C:\\data\\VM.ini", "[Main]\r\n");
  std::filesystem::remove_all(prefix.Host("C:\\data\\ConversieBackup-1"));
  std::filesystem::remove_all(prefix.Host("C:\\data\\ConversieBackup-2"));
  std::filesystem::remove(prefix.Host("C:\\data\\ConversieBackup.ini"));
  prefix.Write("C:\\data\\ConversieLog.TXT", "");
  EXPECT_TRUE(Run(true));
  EXPECT_EQ(Log(), "\r\n*******************\r\nTerugdraaien installatie\r\n");
  EXPECT_EQ(Ini(), "[Main]\r\n");
}

TEST_F(TurnBackFixture, AFailureStopsWithAMessageNamingTheFile) {
  prefix.Write("C:\\data\\ConversieBackup-1\\VM.EXE", "oud exe");
  prefix.Write("C:\\data\\ConversieBackup-2\\Factuur.ini", "oud factuur");
  ctx.folders.ProgramDir = "C:\\weg\\";  // the copy back has nowhere to go
  EXPECT_FALSE(Run(true));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  const MessageBoxSpec& m = dialogs.messages[0];
  EXPECT_EQ(m.title, "Fout bij terugzetten");
  EXPECT_EQ(m.icon, Icon::Exclamation);
  EXPECT_EQ(m.buttons, Buttons::Ok);
  EXPECT_EQ(m.text,
            "Fout bij het terugzetten van bestand \r\nVM.EXE\r\nmet omschrijving : Path not found\r\n"
            "Dit duidt er op dat een bestand in gebruik is, het beste kunt u uw systeem opnieuw opstarten "
            "en dan deze functie weer uit te voeren. Het is af te raden om nu met Velmora te gaan werken");
  EXPECT_FALSE(prefix.Exists("C:\\data\\Factuur.ini"));  // later files untouched
  EXPECT_NE(Ini().find("VersionUpdate=5\r\n"), std::string::npos);

  // Backups without a record, and a counter that is no number: refused
  // before any file changes, naming none.
  ctx.folders.ProgramDir = "C:\\prog\\";
  std::filesystem::remove(prefix.Host("C:\\data\\ConversieBackup.ini"));
  prefix.Write("C:\\data\\VM.ini", "[Main]\r\nVersionUpdate=vijf\r\n");
  EXPECT_FALSE(Run(true));
  EXPECT_EQ(dialogs.messages.back().text.rfind("Fout bij het terugzetten van bestand \r\n\r\nmet omschrijving : "
                                               "Type mismatch\r\n",
                                               0),
            0u);
  EXPECT_FALSE(prefix.Exists("C:\\data\\Factuur.ini"));
  EXPECT_NE(Log().find("FOUT 13 - Type mismatch\r\n"), std::string::npos);

  // A record with a counter that is no number, or an added file elsewhere: refused, naming its line.
  prefix.Write("C:\\elders\\Z.txt", "z");
  for (const BackupRecord& record : {BackupRecord{"abc", {}}, BackupRecord{"4", {"Z:\\elders\\Z.txt"}}}) {
    prefix.Write("C:\\data\\ConversieBackup.ini", BackupRecordText(record));
    EXPECT_FALSE(Run(true));
    EXPECT_NE(dialogs.messages.back().text.find("\r\nConversieBackup.ini\r\nmet omschrijving : regel "),
              std::string::npos);
    EXPECT_EQ(prefix.Read("C:\\elders\\Z.txt") + Ini(), "z[Main]\r\nVersionUpdate=vijf\r\n");
  }
}

}  // namespace
}  // namespace vmu
