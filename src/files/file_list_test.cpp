#include "files/file_list.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "testing/error_of.h"

namespace vmu {
namespace {

using Entries = std::vector<std::pair<std::string, int>>;

Entries ReadAll(const std::string& bytes) {
  FileListCursor list = OpenFileList(bytes);
  Entries entries;
  std::string name;
  while (ReadFileListName(list, name)) entries.emplace_back(name, ReadFileListLocation(list));
  return entries;
}

int ErrorReading(const std::string& bytes) {
  return testing::ErrorOf([&] { ReadAll(bytes); });
}

TEST(FileList, QuotedAndBareFieldsAcrossCommasAndLineEnds) {
  EXPECT_EQ(ReadAll("\"VM.EXE\",1\r\n\"VM_DBv01.mdb\",2\r\n"), (Entries{{"VM.EXE", 1}, {"VM_DBv01.mdb", 2}}));
  EXPECT_EQ(ReadAll("  \"a, b.txt\" , 1\n  c d.txt  ,2"), (Entries{{"a, b.txt", 1}, {"c d.txt", 2}}));
  // Fields split by line ends, several entries on a line, CR alone, blank lines.
  EXPECT_EQ(ReadAll("x.dll\r\n3\r\ny.dll,1,z.dll,0\r\r\n\r\n\"\",2\r\n\r\n  \r\n"),
            (Entries{{"x.dll", 3}, {"y.dll", 1}, {"z.dll", 0}, {"", 2}}));
  EXPECT_EQ(ReadAll(""), Entries{});
  EXPECT_EQ(ReadAll("\r\n \r\n"), Entries{});
  // Windows-1252 bytes, or UTF-8 after its mark.
  EXPECT_EQ(ReadAll("\"Kopi\xEBren.txt\",1"), (Entries{{"Kopiëren.txt", 1}}));
  EXPECT_EQ(ReadAll("\xEF\xBB\xBF\"Kopiëren.txt\",2"), (Entries{{"Kopiëren.txt", 2}}));
}

TEST(FileList, LocationsThatAreNoByteAndAListThatStopsShort) {
  EXPECT_EQ(ErrorReading("\"a\",een\r\n"), 13);
  EXPECT_EQ(ErrorReading("\"a\",\r\n\"b\",1"), 13);  // "b" is read as a's location
  EXPECT_EQ(ErrorReading("\"a\",256"), 6);
  EXPECT_EQ(ErrorReading("\"a\",-1"), 6);
  EXPECT_EQ(ErrorReading("\"a\",1\r\n\"b\"\r\n"), 62);
  EXPECT_EQ(ErrorReading("\"a"), 62);
}

TEST(FileList, OnlyBareNamesAreInstallable) {
  for (const char* good : {"VM.EXE", "a b.txt", "Kopiëren.txt", ".profile"}) EXPECT_TRUE(IsInstallableName(good)) << good;
  for (const char* bad : {"", ".", "..", ". .", "..\\VM.EXE", "sub\\a.txt", "sub/a.txt", "C:\\x.txt", "C:x.txt",
                          "\\x.txt", "a..b", "\\\\server\\share\\x"})
    EXPECT_FALSE(IsInstallableName(bad)) << bad;
}

}  // namespace
}  // namespace vmu
