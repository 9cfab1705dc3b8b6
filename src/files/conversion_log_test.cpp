#include "files/conversion_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/error.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

struct ConversionLog : testing::RunFixture, ::testing::Test {};

// Every log line is checked byte for byte where it is written; here only
// the failures, which callers must get.
TEST_F(ConversionLog, MissingOrUnwritableFolderRaisesAndLeavesNoFile) {
  ctx.folders.DataDir = "C:\\missing\\";
  EXPECT_THROW(LogText(ctx, "A"), VbError);
  EXPECT_FALSE(prefix.Exists("C:\\missing"));

  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  ctx.folders.DataDir = "C:\\data\\";
  ASSERT_EQ(chmod(prefix.Host("C:\\data").c_str(), 0555), 0);
  EXPECT_THROW(LogText(ctx, "A"), VbError);
  chmod(prefix.Host("C:\\data").c_str(), 0755);
  EXPECT_FALSE(prefix.Exists("C:\\data\\ConversieLog.TXT"));
}

}  // namespace
}  // namespace vmu
