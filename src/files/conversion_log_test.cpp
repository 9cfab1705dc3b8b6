#include "files/conversion_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/test_doubles.h"
#include "platform/error.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

struct LogFixture : ::testing::Test {
  LogFixture() : ctx(prefix.fs(), processes) {
    ctx.folders.DataDir = "C:\\data\\";
    prefix.fs().MakeFolder("C:\\data");
  }
  std::string Log() { return prefix.Read("C:\\data\\ConversieLog.TXT"); }
  testing::TestPrefix prefix;
  testing::NoProcesses processes;
  RunContext ctx;
};

TEST_F(LogFixture, EntriesAreAppendedWithCrLf) {
  LogText(ctx, "A");
  EXPECT_EQ(Log(), "A\r\n");
  LogText(ctx, "B");
  LogText(ctx, "");
  LogText(ctx, "x\r\ny");
  LogText(ctx, "\r\n*******************\r\nTerugdraaien installatie");
  LogText(ctx, "Kopiëren");  // one Windows-1252 byte for the ë
  EXPECT_EQ(Log(), "A\r\nB\r\n\r\nx\r\ny\r\n\r\n*******************\r\nTerugdraaien installatie\r\n"
                   "Kopi\xEBren\r\n");
}

TEST_F(LogFixture, UnwritableFolderRaisesAndLeavesNoFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  ASSERT_EQ(chmod(prefix.Host("C:\\data").c_str(), 0555), 0);
  EXPECT_THROW(LogText(ctx, "A"), VbError);
  chmod(prefix.Host("C:\\data").c_str(), 0755);
  EXPECT_FALSE(prefix.Exists("C:\\data\\ConversieLog.TXT"));

  ctx.folders.DataDir = "C:\\missing\\";
  EXPECT_THROW(LogText(ctx, "A"), VbError);
}

}  // namespace
}  // namespace vmu
