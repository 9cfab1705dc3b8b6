// The vmupdate-script program's own handling of its arguments.
#include <gtest/gtest.h>

#include "tools/pack/pack_test_support.h"

namespace vmu {
namespace {

using pack::testing::BinDir;
using pack::testing::RunProgram;

// A folder opens as a stream that reads nothing; the run must not pass as an
// empty script that succeeded.
TEST(ScriptProgram, RefusesAFolderAsItsScript) {
  testing::TempDir dir;
  const auto result = RunProgram({BinDir() + "/vmupdate-script", dir.path()});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "vmupdate-script: cannot read " + dir.path() + ": it is a folder\n");
}

}  // namespace
}  // namespace vmu
