#include "tools/pack/unpacker_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "testing/temp_dir.h"
#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using vmu::testing::TempDir;
using vmu::testing::WriteHostFile;

TEST(UnpackerLocation, BesideTheProgramFirstThenAtTheInstalledPlace) {
  const std::string installed_from_bin = std::string("/") + VMU_UNPACKER_FROM_BINDIR + "/vmu-unpacker";
  struct Case {
    std::vector<std::string> files;  // beneath the temporary folder
    std::string program, expected;
  };
  const std::vector<Case> cases = {
      // The build tree: every program in one folder.
      {{"build/bin/vmu-pack", "build/bin/vmu-unpacker"}, "build/bin/vmu-pack", "build/bin/vmu-unpacker"},
      // Installed: the unpacker is no program for users, so it is not on the PATH.
      {{"usr/bin/vmu-pack", "usr/bin" + installed_from_bin}, "usr/bin/vmupdate-demo", "usr/bin" + installed_from_bin},
      // Both present: the one beside the program belongs to the same build.
      {{"usr/bin/vmu-unpacker", "usr/bin" + installed_from_bin}, "usr/bin/vmu-pack", "usr/bin/vmu-unpacker"},
      // Nowhere: the installed place, for the error message.
      {{"opt/bin/vmu-pack"}, "opt/bin/vmu-pack", "opt/bin" + installed_from_bin},
  };
  for (const Case& c : cases) {
    TempDir dir;
    for (const std::string& file : c.files) WriteHostFile(dir.Sub(file), "#!/bin/sh\n");
    const std::string expected = std::filesystem::path(dir.Sub(c.expected)).lexically_normal().string();
    EXPECT_EQ(FindUnpacker(dir.Sub(c.program)), expected) << c.program;
  }
}

// Without its unpacker the demo says so and makes nothing.
TEST(UnpackerLocation, TheDemoWithoutItsUnpackerMakesNothing) {
  TempDir dir;
  std::filesystem::copy_file(testing::BinDir() + "/vmupdate-demo", dir.Sub("vmupdate-demo"));
  const auto run = testing::RunProgram({dir.Sub("vmupdate-demo"), dir.Sub("demo")});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("vmu-unpacker is missing"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.Sub("demo")));
}

}  // namespace
}  // namespace vmu::pack
