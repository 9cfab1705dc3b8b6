#include "files/recover_update.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "files/checksum.h"
#include "files/update_journal.h"
#include "platform/error.h"
#include "testing/test_doubles.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

// A crash before the journal exists leaves only temporary files: the next
// start removes them quietly, and nothing else.
TEST(RecoverUpdate, WithoutAJournalOnlyStrayTemporariesGo) {
  testing::TestPrefix prefix;
  testing::FakeProcesses processes;
  testing::ScriptedDialogs dialogs;
  RunContext ctx(prefix.fs(), processes);
  ctx.folders.ProgramDir = "C:\\prog\\";
  ctx.folders.DataDir = "C:\\data\\";
  const char* stray[] = {"C:\\data\\Update\\.installatieV2.ini.vmu-123", "C:\\data\\Update\\.vmu-unpack-77-0-1",
                         "C:\\data\\.Update.ini.vmu-9", "C:\\prog\\.VM.EXE.vmu-42"};
  const char* kept[] = {"C:\\data\\Update\\VM.EXE", "C:\\data\\.vmu-notes", "C:\\data\\VM.ini", "C:\\prog\\VM.EXE"};
  for (const char* path : stray) prefix.Write(path, "half");
  for (const char* path : kept) prefix.Write(path, "whole");

  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::NothingPending);
  for (const char* path : stray) EXPECT_FALSE(prefix.Exists(path)) << path;
  for (const char* path : kept) EXPECT_EQ(prefix.Read(path), "whole") << path;
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(prefix.Exists("C:\\data\\ConversieLog.TXT"));
}

// A journal is acted on only as written and only inside the installation:
// every flipped bit and every cut is refused, and so is a journal with a
// good checksum that points elsewhere. Then nothing changes, the message
// names the line and the journal's place, and support can set it aside.
TEST(RecoverUpdate, AJournalThatFailsItsChecksChangesNothing) {
  testing::TestPrefix prefix;
  testing::FakeProcesses processes;
  testing::ScriptedDialogs dialogs;
  RunContext ctx(prefix.fs(), processes);
  ctx.folders.ProgramDir = "C:\\Program Files\\velmora\\";
  ctx.folders.DataDir = "C:\\data\\";
  prefix.Write("C:\\Program Files\\velmora\\VM.EXE", "nieuw");
  prefix.Write("C:\\data\\ConversieBackup-1\\VM.EXE", "oud");
  prefix.Write("C:\\elders\\Z.txt", "z");
  UpdateJournal good;
  good.program_dir = ctx.folders.ProgramDir;
  good.data_dir = "C:\\DATA\\";  // the same folder, spelt otherwise
  good.phase = kPhaseFiles;
  good.replaced.push_back(
      {"C:\\Program Files\\velmora\\VM.EXE", "C:\\data\\ConversieBackup-1\\VM.EXE", 0644, Checksum("oud")});
  good.added.push_back("C:\\data\\Nieuw.dll");
  const std::string bytes = JournalText(good);
  EXPECT_EQ(JournalText(ParseJournal(bytes)), bytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    EXPECT_THROW(ParseJournal(bytes.substr(0, i)), VbError) << i;
    for (int bit = 0; bit < 8; ++bit) {
      std::string flipped = bytes;
      flipped[i] = static_cast<char>(flipped[i] ^ (1 << bit));
      EXPECT_THROW(ParseJournal(flipped), VbError) << i << " " << bit;
    }
  }

  const auto with = [&](const std::function<void(UpdateJournal&)>& change) {
    UpdateJournal j = good;
    change(j);
    return JournalText(j);
  };
  const std::string body = bytes.substr(0, bytes.rfind("Einde="));
  const std::string hostile[] = {
      with([](UpdateJournal& j) { j.added[0] = "Z:\\" + std::string("elders\\Z.txt"); }),
      with([](UpdateJournal& j) { j.added[0] = "C:\\data\\..\\elders\\Z.txt"; }),
      with([](UpdateJournal& j) { j.replaced[0].target = "C:\\Program Files\\velmora]VM.EXE"; }),
      with([](UpdateJournal& j) { j.replaced[0].backup = "C:\\elders\\Z.txt"; }),
      with([](UpdateJournal& j) { j.data_dir = "C:\\elders\\"; }),
      body + "Onbekend=1\r\nEinde=\r\n" + ChecksumLine(body + "Onbekend=1\r\nEinde=\r\n", "Controle"),
  };
  for (const std::string& journal : hostile) {
    prefix.Write("C:\\data\\UpdateJournaal.txt", journal);
    dialogs.messages.clear();
    EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::Failed) << journal;
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind(
                  "De vorige update is onderbroken en kon niet worden teruggezet.\r\nHet journaal kan niet worden "
                  "gelezen: regel ",
                  0),
              0u)
        << dialogs.messages[0].text;
    EXPECT_NE(dialogs.messages[0].text.find(").\r\n\r\nEr is niets gewijzigd. Neem contact op met uw leverancier en "
                                            "noem de plaats van het journaal: C:\\data\\UpdateJournaal.txt"),
              std::string::npos);
    EXPECT_EQ(prefix.Read("C:\\elders\\Z.txt"), "z");
    EXPECT_EQ(prefix.Read("C:\\Program Files\\velmora\\VM.EXE"), "nieuw");
    EXPECT_EQ(prefix.Read("C:\\data\\UpdateJournaal.txt"), journal);
  }
  EXPECT_EQ(UnfinishedUpdateText(ctx),
            "Het journaal van de vorige update kan niet worden gelezen. Er is niets gewijzigd. Neem contact op met "
            "uw leverancier en noem de plaats van het journaal: C:\\data\\UpdateJournaal.txt");

  EXPECT_EQ(SetJournalAside(ctx.fs, ctx.folders.DataDir), "C:\\data\\UpdateJournaal-opzij-1.txt");
  EXPECT_EQ(prefix.Read("C:\\data\\UpdateJournaal-opzij-1.txt"), hostile[5]);
  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::NothingPending);

  // A backup that is gone is acceptable only when the file still holds its bytes.
  std::filesystem::remove(prefix.Host("C:\\data\\ConversieBackup-1\\VM.EXE"));
  prefix.Write("C:\\data\\UpdateJournaal.txt", bytes);
  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::Failed);
  prefix.Write("C:\\Program Files\\velmora\\VM.EXE", "oud");
  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::Restored);
  EXPECT_FALSE(prefix.Exists("C:\\data\\UpdateJournaal.txt"));
}

}  // namespace
}  // namespace vmu
