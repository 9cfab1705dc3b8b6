#include "platform/profile.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/error.h"
#include "testing/test_doubles.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

// A real prefix that can also fail in ways a disk cannot be made to fail
// when tests run as root.
class FailingFileSystem : public testing::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  std::string ReadBytes(const std::string& path) override {
    if (unreadable.count(path)) Raise(kPermissionDenied);
    return ForwardingFileSystem::ReadBytes(path);
  }
  void ReplaceBytes(const std::string& path, const std::string& bytes) override {
    ++replace_calls;
    if (replace_error) Raise(replace_error);
    ForwardingFileSystem::ReplaceBytes(path, bytes);
  }
  std::set<std::string> unreadable;
  int replace_error = 0;
  int replace_calls = 0;
};

const std::string kIni = "C:\\Data\\VM.ini";

struct Profile {
  testing::TestPrefix prefix;
  FailingFileSystem fs{prefix.fs()};
};

TEST(ProfileTest, ReadsAnewFromTheFileSystem) {
  Profile p;
  EXPECT_EQ(GetProfileString(p.fs, "Main", "Version", "?", 255, kIni), "?");
  p.prefix.Write(kIni, "[Main]\r\nVersion=10203\r\n");
  EXPECT_EQ(GetProfileString(p.fs, "MAIN", "version", "?", 255, kIni), "10203");
  p.fs.unreadable.insert(kIni);
  EXPECT_EQ(GetProfileString(p.fs, "Main", "Version", "?", 255, kIni), "?");
}

TEST(ProfileTest, WritesCreateTheFileButNotTheFolderAndKeepEveryOtherByte) {
  Profile p;
  EXPECT_FALSE(WriteProfileString(p.fs, "Main", "Naam", "Kopiëren", kIni));
  EXPECT_FALSE(p.prefix.Exists("C:\\Data"));
  p.prefix.Write("C:\\Data\\x", "");
  EXPECT_TRUE(WriteProfileString(p.fs, "Main", "Naam", "Kopiëren", kIni));
  EXPECT_EQ(p.prefix.Read(kIni), "[Main]\r\nNaam=Kopi\xEBren\r\n");

  p.prefix.Write(kIni, "; eigen\n[Main]\nVersionUpdate = 7");
  const int calls = p.fs.replace_calls;
  EXPECT_TRUE(WriteProfileString(p.fs, "Main", "VersionUpdate", "7", kIni));
  EXPECT_EQ(p.fs.replace_calls, calls);  // an unchanged value does not touch the file
  EXPECT_TRUE(WriteProfileString(p.fs, "Main", "VersionUpdate", "8", kIni));
  EXPECT_EQ(p.prefix.Read(kIni), "; eigen\n[Main]\nVersionUpdate=8");
}

TEST(ProfileTest, FailedWritesReportFalseAndKeepTheFile) {
  Profile p;
  p.prefix.Write(kIni, "[Main]\r\nVersion=1\r\n");
  p.fs.unreadable.insert(kIni);
  // An unreadable file must not be replaced by a file holding one key.
  EXPECT_FALSE(WriteProfileString(p.fs, "Main", "Version", "2", kIni));
  EXPECT_EQ(p.fs.replace_calls, 0);

  p.fs.unreadable.clear();
  p.fs.replace_error = kDiskFull;
  EXPECT_FALSE(WriteProfileString(p.fs, "Main", "Version", "2", kIni));
  EXPECT_EQ(p.prefix.Read(kIni), "[Main]\r\nVersion=1\r\n");
}

}  // namespace
}  // namespace vmu
