#include "tools/pack/file_list_text.h"

#include <gtest/gtest.h>

#include "files/file_list.h"
#include "platform/error.h"

namespace vmu::pack {
namespace {

std::string Entries(const FileListText& list) {
  std::string text;
  for (const auto& e : list.entries) text += std::to_string(e.line) + ":[" + e.name + "][" + e.location + "] ";
  return text;
}

TEST(FileListText, ReadsTheCommaSeparatedForm) {
  // Quoted and bare names, blanks, commas inside quotes, every line end,
  // empty lines, text after a closing quote, no line end at the end.
  const FileListText list = ParseFileList("\"VM.EXE\",1\r\n  screens.ini ,  2  \n\r\n\"a, b.txt\" ,3\r"
      "\"x.dll\"junk,1\n\"Caf\xE9.ini\",2");
  EXPECT_TRUE(list.problems.empty());
  EXPECT_EQ(Entries(list), "1:[VM.EXE][1] 2:[screens.ini][2] 4:[a, b.txt][3] 5:[x.dll][1] 6:[Caf\xC3\xA9.ini][2] ");
}

TEST(FileListText, ReportsAQuoteThatIsNotClosed) {
  const FileListText list = ParseFileList("\"VM.EXE,1\r\n");
  ASSERT_FALSE(list.problems.empty());
  EXPECT_EQ(list.problems[0], "line 1: a quote is not closed");
  EXPECT_TRUE(ParseFileList("\r\n \r\n").problems.empty());
}

// The entries as the wizard's own reader takes them, "error" where it stops.
std::string WizardEntries(const std::string& bytes) {
  FileListCursor cursor = OpenFileList(bytes);
  std::string text, name;
  try {
    while (ReadFileListName(cursor, name)) {
      const int location = ReadFileListLocation(cursor);
      text += "[" + name + "][" + std::to_string(location) + "] ";
    }
  } catch (const VbError&) {
    text += "error";
  }
  return text;
}

std::string OurEntries(const std::string& bytes) {
  const FileListText list = ParseFileList(bytes);
  std::string text;
  for (const auto& e : list.entries) text += "[" + e.name + "][" + e.location + "] ";
  return list.problems.empty() ? text : text + "error";
}

TEST(FileListText, ReadsWhatTheWizardReads) {
  for (const char* list :
       {"\"VM.EXE\",1\r\n\"screens.ini\",2\r\n", "a,1,b,2", " a , 1 \n\n\n b\r2\r\n\r\n",
        "\"a, b\"x ,1\n", "\xEF\xBB\xBF\"\xC3\xA9\",2\r\n", "\"\xE9\",2", "a\r\n1", "\"open,1", "a,1\r\nb"})
    EXPECT_EQ(OurEntries(list), WizardEntries(list)) << list;
}

}  // namespace
}  // namespace vmu::pack
