#include "files/copy_with_backup.h"

#include <gtest/gtest.h>

#include "testing/error_of.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

struct CopyFixture : testing::RunFixture, ::testing::Test {
  CopyFixture() {
    backup = {"", "C:\\data\\ConversieBackup-1\\", "C:\\data\\ConversieBackup-2\\"};
    prefix.Write("C:\\data\\ConversieBackup-1\\.keep", "");
    prefix.Write("C:\\data\\ConversieBackup-2\\.keep", "");
    prefix.Write("C:\\data\\Update\\new.ini", "nieuw");
  }
  int Copy(const std::string& source, const std::string& target, int location) {
    return testing::ErrorOf([&] { CopyWithBackup(ctx, backup, source, target, location); });
  }
  std::array<std::string, 3> backup;
};

TEST_F(CopyFixture, NewTargetIsCopiedAndAnExistingOneMovedAsideFirst) {
  EXPECT_EQ(Copy("C:\\data\\Update\\new.ini", "C:\\prog\\new.ini", 1), 76);  // no program folder yet
  prefix.Write("C:\\prog\\keep.txt", "");
  EXPECT_EQ(Copy("C:\\data\\Update\\new.ini", "C:\\prog\\new.ini", 1), 0);
  prefix.Write("C:\\data\\Velmora.ini", "oud");
  EXPECT_EQ(Copy("C:\\data\\Update\\new.ini", "C:\\data\\velmora.INI", 2), 0);  // case differs
  EXPECT_EQ(prefix.Read("C:\\prog\\new.ini"), "nieuw");
  EXPECT_EQ(prefix.Read("C:\\data\\ConversieBackup-2\\velmora.INI"), "oud");
  // Replaced in place: the installed file keeps its own spelling.
  EXPECT_EQ(prefix.Read("C:\\data\\Velmora.ini"), "nieuw");
  EXPECT_EQ(prefix.Read("C:\\data\\Update\\new.ini"), "nieuw");
  EXPECT_EQ(Log(),
            "Kopieren C:\\data\\Update\\new.ini naar C:\\prog\\new.ini\r\n"
            "Kopieren C:\\data\\Update\\new.ini naar C:\\prog\\new.ini\r\n"
            "Verplaatsen C:\\data\\velmora.INI naar C:\\data\\ConversieBackup-2\\velmora.INI\r\n"
            "Kopieren C:\\data\\Update\\new.ini naar C:\\data\\velmora.INI\r\n");
}

TEST_F(CopyFixture, FailuresLeaveTheLogSayingHowFarItGot) {
  prefix.Write("C:\\prog\\a.txt", "oud a");
  // Location 3 with something to move: refused before anything happens.
  EXPECT_EQ(Copy("C:\\data\\Update\\new.ini", "C:\\prog\\a.txt", 3), 9);
  EXPECT_EQ(Log(), "");
  // An earlier backup of the same name is never replaced.
  prefix.Write("C:\\data\\ConversieBackup-1\\a.txt", "ouder a");
  EXPECT_EQ(Copy("C:\\data\\Update\\new.ini", "C:\\prog\\a.txt", 1), 58);
  EXPECT_EQ(Log(), "");
  EXPECT_EQ(prefix.Read("C:\\data\\ConversieBackup-1\\a.txt"), "ouder a");
  EXPECT_EQ(prefix.Read("C:\\prog\\a.txt"), "oud a");
  // A missing source: the old file is already in the backup folder.
  prefix.Write("C:\\prog\\b.txt", "oud b");
  EXPECT_EQ(Copy("C:\\data\\Update\\b.txt", "C:\\prog\\b.txt", 1), 53);
  EXPECT_EQ(Log(),
            "Verplaatsen C:\\prog\\b.txt naar C:\\data\\ConversieBackup-1\\b.txt\r\n"
            "Kopieren C:\\data\\Update\\b.txt naar C:\\prog\\b.txt\r\n");
  EXPECT_EQ(prefix.Read("C:\\data\\ConversieBackup-1\\b.txt"), "oud b");
  EXPECT_EQ(prefix.Read("C:\\prog\\b.txt"), "oud b");  // never missing
  // Location 3 with nothing to move copies as usual.
  EXPECT_EQ(Copy("C:\\data\\Update\\new.ini", "C:\\prog\\c.txt", 3), 0);
  EXPECT_EQ(prefix.Read("C:\\prog\\c.txt"), "nieuw");
}

}  // namespace
}  // namespace vmu
