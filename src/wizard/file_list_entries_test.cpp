#include "wizard/file_list_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "testing/error_of.h"

namespace vmu {
namespace {

using testing::ErrorOf;

TEST(InstallEntries, EveryEntryWithItsLocation) {
  std::string current;
  std::vector<std::pair<std::string, int>> read;
  const std::string list = "\"VM.EXE\",1\r\n\"sub\\notes.txt\",3\r\n\"Kopi\xEBren.txt\",2\r\n";
  for (const InstallEntry& e : ReadInstallEntries(list, current)) read.emplace_back(e.name, e.location);
  // The second is passed over by the installation, so its name is not judged.
  EXPECT_EQ(read,
            (std::vector<std::pair<std::string, int>>{{"VM.EXE", 1}, {"sub\\notes.txt", 3}, {"Kopiëren.txt", 2}}));
  EXPECT_TRUE(ReadInstallEntries("\r\n \r\n", current).empty());
}

TEST(InstallEntries, TheFirstBadEntryStopsTheReadingWithItsNumberAndName) {
  const std::pair<const char*, std::pair<int, const char*>> lists[] = {
      {"\"a\",een\r\n", {13, "a"}},
      {"\"a\",\r\n\"b\",1", {13, "a"}},  // "b" is read as a's location
      {"\"a\",256", {6, "a"}},
      {"\"a\",1\r\n\"b\"\r\n", {62, "b"}},
      {"\"a", {62, "a"}},
      // Which names are bare is bare_name's rule; here that it is applied.
      {"\"ok.txt\",1\r\n\"..\\VM.EXE\",1", {52, "..\\VM.EXE"}},
      {"\"UPDATE.INI\",2", {52, "UPDATE.INI"}},  // the wizard's own files and folders
      {"\"x\",3\r\n\"ConversieBackup-1\",1", {52, "ConversieBackup-1"}},
  };
  for (const auto& [list, expected] : lists) {
    std::string current;
    EXPECT_EQ(ErrorOf([&] { ReadInstallEntries(list, current); }), expected.first) << list;
    EXPECT_EQ(current, expected.second) << list;
  }
  // A NUL would cut the name short on the host; refused with the rest, before any file is touched.
  using namespace std::string_literals;
  std::string current;
  EXPECT_EQ(ErrorOf([&] { ReadInstallEntries("\"ok.txt\",1\r\n\"a\0.txt\",2"s, current); }), 52);
  EXPECT_EQ(current, "a\0.txt"s);
}

}  // namespace
}  // namespace vmu
