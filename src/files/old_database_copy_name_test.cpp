#include "files/old_database_copy_name.h"

#include <gtest/gtest.h>

#include "files/recover_update.h"
#include "testing/test_doubles.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

// A crash during a conversion leaves the copy of a Jet database: the next
// start removes it, and only it.
TEST(OldDatabaseCopy, TheNextStartRemovesACopyACrashLeft) {
  testing::TestPrefix prefix;
  testing::FakeProcesses processes;
  testing::ScriptedDialogs dialogs;
  RunContext ctx(prefix.fs(), processes);
  ctx.folders.DataDir = "C:\\data\\";
  const std::string copy = OldDatabaseCopyName("C:\\data\\VM_DBv01.mdb");
  EXPECT_EQ(copy, "C:\\data\\VM_DBv01.mdb.vmu-staging");
  prefix.Write(copy, "half a copy");
  prefix.Write("C:\\data\\VM_DBv01.mdb", "the user's database");

  EXPECT_EQ(RecoverInterruptedUpdate(ctx, dialogs), Recovery::NothingPending);
  EXPECT_FALSE(prefix.Exists(copy));
  EXPECT_EQ(prefix.Read("C:\\data\\VM_DBv01.mdb"), "the user's database");
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace vmu
