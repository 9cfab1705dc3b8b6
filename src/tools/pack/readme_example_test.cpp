// The package example in README.md is one that vmu-pack accepts as written.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/pack/pack_test_support.h"

namespace vmu::pack {
namespace {

using testing::BinDir;
using testing::RunProgram;
using vmu::testing::TempDir;
using vmu::testing::WriteHostFile;

// The text of the first code block of that language after `from`.
std::string CodeBlock(const std::string& text, const std::string& language, size_t& from) {
  const std::string fence = "```" + language + "\n";
  const size_t start = text.find(fence, from);
  if (start == std::string::npos) return "";
  const size_t body = start + fence.size();
  const size_t end = text.find("```", body);
  from = end;
  return text.substr(body, end - body);
}

TEST(ReadmeExample, ThePackageFolderOfTheReadmePacksWithoutAWord) {
  std::ifstream in(VMU_README);
  ASSERT_TRUE(in) << VMU_README;
  std::ostringstream readme;
  readme << in.rdbuf();
  size_t at = readme.str().find("## Update packages");
  ASSERT_NE(at, std::string::npos);
  const std::string manifest = CodeBlock(readme.str(), "ini", at);
  const std::string file_list = CodeBlock(readme.str(), "text", at);
  ASSERT_NE(manifest.find("[Main]"), std::string::npos);
  ASSERT_FALSE(file_list.empty());

  TempDir dir;
  WriteHostFile(dir.Sub("src/installatieV2.ini"), manifest);
  WriteHostFile(dir.Sub("src/FileList.VML"), file_list);
  // Every file the list names, with some content.
  std::istringstream lines(file_list);
  for (std::string line; std::getline(lines, line);) {
    const size_t close = line.find('"', 1);
    if (line.empty() || line[0] != '"' || close == std::string::npos) continue;
    WriteHostFile(dir.Sub("src/" + line.substr(1, close - 1)), "inhoud\r\n");
  }
  const auto made = RunProgram({BinDir() + "/vmu-pack", dir.Sub("src"), dir.Sub("update.VMU")});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.err, "");
}

}  // namespace
}  // namespace vmu::pack
