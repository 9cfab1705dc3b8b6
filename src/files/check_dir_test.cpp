#include "files/check_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/conversion_log.h"
#include "platform/error.h"
#include "testing/error_of.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

struct CheckDirFixture : testing::RunFixture, ::testing::Test {};

TEST_F(CheckDirFixture, CreatesEmptiesOrFindsTheFolderEmpty) {
  CheckDir(ctx, dialogs, "C:\\data\\Update\\");
  EXPECT_TRUE(prefix.fs().FolderExists("C:\\data\\Update"));
  // Existing but empty (a dot file is no normal file): only creating it tells.
  prefix.Write("C:\\data\\Update\\.hidden", "h");
  CheckDir(ctx, dialogs, "C:\\data\\Update\\");
  prefix.Write("C:\\data\\Update\\a.txt", "a");
  prefix.Write("C:\\data\\Update\\B.DLL", "b");
  prefix.Write("C:\\data\\Update\\sub\\c.txt", "c");
  CheckDir(ctx, dialogs, "C:\\data\\Update\\");
  EXPECT_EQ(Log(),
            "Maken C:\\data\\Update\\\r\n"
            "Maken C:\\data\\Update\\\r\nC:\\data\\Update\\ bestond al maar was leeg\r\n"
            "Leegmaken C:\\data\\Update\\\r\n");
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(prefix.Exists("C:\\data\\Update\\a.txt"));
  EXPECT_FALSE(prefix.Exists("C:\\data\\Update\\B.DLL"));
  EXPECT_EQ(prefix.Read("C:\\data\\Update\\sub\\c.txt"), "c");
  EXPECT_TRUE(prefix.Exists("C:\\data\\Update\\.hidden"));
}

TEST_F(CheckDirFixture, OtherErrorsAreShownAndLoggedOnlyALogFailureGoesThrough) {
  CheckDir(ctx, dialogs, "C:\\data\\weg\\Update\\");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Path not found");
  EXPECT_EQ(dialogs.messages[0].title, "76");
  EXPECT_EQ(dialogs.messages[0].buttons, Buttons::Ok);
  EXPECT_EQ(dialogs.messages[0].icon, Icon::None);
  EXPECT_EQ(Log(),
            "Maken C:\\data\\weg\\Update\\\r\n"
            " Fout bij het checken van de directory: Path not found 76\r\n");

  // Without a data folder the log fails, and the trap's own log line with it.
  ctx.folders.DataDir = "C:\\nergens\\";
  EXPECT_EQ(testing::ErrorOf([&] { CheckDir(ctx, dialogs, "C:\\data\\x\\"); }), 76);
  EXPECT_EQ(dialogs.messages.size(), 2u);
  EXPECT_FALSE(prefix.Exists("C:\\data\\x"));

  // A link is never followed: neither emptied nor written through.
  ctx.folders.DataDir = "C:\\data\\";
  prefix.Write("C:\\elders\\a.txt", "a");
  std::filesystem::create_directory_symlink(prefix.Host("C:\\elders"), prefix.Host("C:\\data\\Update"));
  std::filesystem::remove(prefix.Host("C:\\data\\ConversieLog.TXT"));
  std::filesystem::create_symlink(prefix.Host("C:\\elders\\a.txt"), prefix.Host("C:\\data\\ConversieLog.TXT"));
  try {
    CheckDir(ctx, dialogs, "C:\\data\\Update\\");
    ADD_FAILURE();
  } catch (const VbError& e) {
    EXPECT_EQ(e.description(), "C:\\data\\Update\\ is een koppeling en wordt niet gebruikt");
  }
  EXPECT_EQ(testing::ErrorOf([&] { LogText(ctx, "A"); }), 70);
  EXPECT_EQ(prefix.Read("C:\\elders\\a.txt"), "a");
}

}  // namespace
}  // namespace vmu
