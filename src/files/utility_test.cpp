#include "files/utility.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/error.h"
#include "testing/error_of.h"
#include "testing/test_doubles.h"

namespace vmu {
namespace {

using testing::ErrorOf;

// Remembers which files were looked at.
class ReadRecorder : public testing::ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  bool FileExists(const std::string& p) override {
    read.push_back(p);
    return ForwardingFileSystem::FileExists(p);
  }
  std::string ReadBytes(const std::string& p) override {
    read.push_back(p);
    return ForwardingFileSystem::ReadBytes(p);
  }
  std::vector<std::string> read;
};

struct IniFixture : testing::RunFixture, ::testing::Test {
  IniFixture() { ctx.folders.UpdateIniPath = "C:\\data\\Update.ini"; }
};

TEST_F(IniFixture, MissingValueGivesTheDefaultAndStoresIt) {
  EXPECT_EQ(ReadIni(ctx, "Main", "VersionUpdate", "0", "VM.ini"), "0");
  EXPECT_EQ(prefix.Read("C:\\data\\VM.ini"), "[Main]\r\nVersionUpdate=0\r\n");

  // A stored "?" counts as missing and is overwritten by the default.
  prefix.Write("C:\\data\\VM.ini", "[Main]\r\nVersionUpdate=?\r\n");
  EXPECT_EQ(ReadIni(ctx, "Main", "VersionUpdate", "3", "VM.ini"), "3");
  EXPECT_EQ(prefix.Read("C:\\data\\VM.ini"), "[Main]\r\nVersionUpdate=3\r\n");

  // An empty default is written as an empty value.
  EXPECT_EQ(ReadIni(ctx, "Main", "Other", "", "VM.ini"), "");
  EXPECT_EQ(prefix.Read("C:\\data\\VM.ini"), "[Main]\r\nVersionUpdate=3\r\nOther=\r\n");
}

TEST_F(IniFixture, PresentEmptyValueReadsEmptyAndWritesNothingAndALongOneIsCut) {
  const std::string bytes = "[Main]\nKey=\n; note\nLong=" + std::string(300, 'x') + "\n";
  prefix.Write("C:\\data\\VM.ini", bytes);
  EXPECT_EQ(ReadIni(ctx, "Main", "Key", "dflt", "VM.ini"), "");
  EXPECT_EQ(ReadIni(ctx, "Main", "Long", "", "VM.ini"), std::string(254, 'x'));
  EXPECT_EQ(prefix.Read("C:\\data\\VM.ini"), bytes);
}

TEST_F(IniFixture, FileChoice) {
  prefix.Write("C:\\data\\Update.ini", "[S]\r\nK=update\r\n");
  prefix.Write("C:\\data\\VM.ini", "[S]\r\nK=vm\r\n");
  prefix.Write("C:\\x\\y.ini", "[S]\r\nK=full\r\n");
  EXPECT_EQ(ReadIni(ctx, "S", "K", "", ""), "update");
  EXPECT_EQ(ReadIni(ctx, "S", "K", "", "VM.ini"), "vm");
  EXPECT_EQ(ReadIni(ctx, "S", "K", "", "C:\\x\\y.ini"), "full");

  // Without a drive letter, even a network path is taken inside DataDir.
  ReadRecorder recorder(prefix.fs());
  RunContext recorded(recorder, processes);
  recorded.folders = ctx.folders;
  ReadIni(recorded, "S", "K", "d", "\\\\srv\\share\\y.ini");
  ASSERT_FALSE(recorder.read.empty());
  for (const std::string& path : recorder.read) EXPECT_EQ(path, "C:\\data\\\\\\srv\\share\\y.ini");
}

TEST_F(IniFixture, WriteIniKeepsTheValueOnOneLine) {
  WriteIni(prefix.fs(), "C:\\data\\w.ini", "S", "K", "a\r\nb\nc");
  EXPECT_EQ(prefix.Read("C:\\data\\w.ini"), "[S]\r\nK=a  b c\r\n");

  WriteIni(prefix.fs(), "C:\\data\\w.ini", "S", "Max", std::string(32767, 'v'));
  EXPECT_EQ(ErrorOf([&] { WriteIni(prefix.fs(), "C:\\data\\w.ini", "S", "K", std::string(32768, 'v')); }), kOverflow);
  // A write into a missing folder is lost without an error.
  WriteIni(prefix.fs(), "C:\\nowhere\\w.ini", "S", "K", "v");
  EXPECT_FALSE(prefix.Exists("C:\\nowhere"));
}

TEST(PathParts, DirectoryAndFileNameOfPath) {
  EXPECT_EQ(DirectoryOfPath("C:\\a\\b\\f.txt"), "C:\\a\\b\\");
  EXPECT_EQ(DirectoryOfPath("f.txt"), "");
  EXPECT_EQ(DirectoryOfPath(""), "");
  EXPECT_EQ(DirectoryOfPath("C:\\a\\"), "C:\\a\\");
  EXPECT_EQ(DirectoryOfPath("\\\\srv\\share\\f.txt"), "\\\\srv\\share\\");
  EXPECT_EQ(FileNameOfPath("C:\\a\\b\\f.txt"), "f.txt");
  EXPECT_EQ(FileNameOfPath("C:\\a\\b\\"), "b");
  EXPECT_EQ(FileNameOfPath("f.txt"), "f.txt");
  EXPECT_EQ(FileNameOfPath("\\\\"), "");
  EXPECT_EQ(ErrorOf([] { FileNameOfPath(""); }), kInvalidArgument);
  EXPECT_EQ(ErrorOf([] { FileNameOfPath("\\"); }), kInvalidArgument);
}

TEST(NumberText, ConversionsAndTheirErrors) {
  EXPECT_EQ(ToInt32("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(ToInt16("\t+32767 "), 32767);

  for (const char* text : {"", "  ", "-", "1 2", "1.5", "99999999999999999999x"})
    EXPECT_EQ(ErrorOf([&] { ToInt32(text); }), kTypeMismatch) << '"' << text << '"';
  EXPECT_EQ(ErrorOf([] { ToInt32("2147483648"); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { ToInt32("99999999999999999999"); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { ToInt16("32768"); }), kOverflow);
  EXPECT_EQ(ErrorOf([] { ToByte("-1"); }), kOverflow);
}

}  // namespace
}  // namespace vmu
