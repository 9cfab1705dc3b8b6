#include "tools/pack/package_writer.h"

#include <gtest/gtest.h>

#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::RunProgram;
using testing::WriteGoodSource;
using vmu::testing::TempDir;

// The temporary file is ours; the message names what the user asked for.
TEST(VmuPack, NamesTheOutputWhenItsFolderIsMissing) {
  TempDir dir;
  WriteGoodSource(dir.Sub("src"));
  const std::string output = dir.Sub("missing/p.VMU");
  const auto result = RunProgram({BinDir() + "/vmu-pack", dir.Sub("src"), output});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "vmu-pack: cannot create: " + output + ": No such file or directory\n");
}

}  // namespace
}  // namespace vmu::pack
