#include "files/recover_update.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vmu
