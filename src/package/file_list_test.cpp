#include "package/file_list.h"

#include <gtest/gtest.h>

namespace vmu::package {
namespace {

// "line:[name][location] " for each entry, then the lone name and the open quote.
std::string Read(std::string_view bytes) {
  const FileList list = ParseFileList(bytes);
  std::string text;
  for (const auto& e : list.entries) text += std::to_string(e.line) + ":[" + e.name + "][" + e.location + "] ";
  if (list.lone_name) text += "lone " + std::to_string(list.lone_name->line) + ":[" + list.lone_name->name + "] ";
  if (list.unclosed_quote_line) text += "open quote " + std::to_string(list.unclosed_quote_line);
  return text;
}

TEST(FileList, ReadsTheCommaSeparatedForm) {
  // Quoted and bare names, blanks, commas inside quotes, every line end,
  // empty lines, text after a closing quote, no line end at the end.
  EXPECT_EQ(Read("\"VM.EXE\",1\r\n  screens.ini ,  2  \n\r\n\"a, b.txt\" ,3\r"
                 "\"x.dll\"junk,1\n\"Caf\xE9.ini\",2"),
            "1:[VM.EXE][1] 2:[screens.ini][2] 4:[a, b.txt][3] 5:[x.dll][1] 6:[Caf\xC3\xA9.ini][2] ");
  // Fields split by line ends, several entries on a line, CR alone, blank
  // lines, an empty name, a location in quotes.
  EXPECT_EQ(Read("x.dll\r\n3\r\ny.dll,1,z.dll,0\r\r\n\r\n\"\",\"2\"\r\n\r\n  \r\n"),
            "1:[x.dll][3] 3:[y.dll][1] 3:[z.dll][0] 6:[][2] ");
  EXPECT_EQ(Read(" a , 1 \n\n\n b\r2\r\n\r\n"), "1:[a][1] 4:[b][2] ");
  EXPECT_EQ(Read("  \"a, b.txt\" , 1\n  c d.txt  ,2"), "1:[a, b.txt][1] 2:[c d.txt][2] ");
  EXPECT_EQ(Read("a,1,"), "1:[a][1] ");
  EXPECT_EQ(Read("a,,1"), "1:[a][] lone 1:[1] ");
  EXPECT_EQ(Read(""), "");
  EXPECT_EQ(Read("\r\n \r\n"), "");
  // Windows-1252 bytes, or UTF-8 after its mark.
  EXPECT_EQ(Read("\"Kopi\xEBren.txt\",1"), "1:[Kopi\xC3\xABren.txt][1] ");
  EXPECT_EQ(Read("\xEF\xBB\xBF\"Kopi\xC3\xABren.txt\",2\r\n"), "1:[Kopi\xC3\xABren.txt][2] ");
}

TEST(FileList, AListThatEndsBeforeALocation) {
  EXPECT_EQ(Read("\"a\",1\r\n\"b\"\r\n"), "1:[a][1] lone 2:[b] ");
  EXPECT_EQ(Read("a\r\n1"), "1:[a][1] ");
  // A missing location takes the next name for its own.
  EXPECT_EQ(Read("\"a\",\r\n\"b\",1"), "1:[a][b] lone 2:[1] ");
  // An open quote runs to the end of the list.
  EXPECT_EQ(Read("\"VM.EXE,1\r\n"), "lone 1:[VM.EXE,1\r\n] open quote 1");
  EXPECT_EQ(Read("a,\"1"), "1:[a][1] open quote 1");
}

TEST(FileList, LocationsAreBytesAndOnlyTwoAreInstalled) {
  const auto location = [](const char* text) { return ReadLocation({"a", text, 1}); };
  EXPECT_EQ(location(" 2 ").value, 2);
  EXPECT_EQ(location("een").problem, NumberProblem::kNotANumber);
  EXPECT_EQ(location("").problem, NumberProblem::kNotANumber);
  EXPECT_EQ(location("256").problem, NumberProblem::kOutOfRange);
  EXPECT_EQ(location("-1").problem, NumberProblem::kOutOfRange);
  EXPECT_TRUE(IsInstalledLocation(kProgramFolder));
  EXPECT_TRUE(IsInstalledLocation(kDataFolder));
  for (int other : {0, 3, 255}) EXPECT_FALSE(IsInstalledLocation(other)) << other;
}

}  // namespace
}  // namespace vmu::package
