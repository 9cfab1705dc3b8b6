#include "platform/wine_registry.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

const char* const kUserReg =
    "WINE REGISTRY Version 2\r\n"
    ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\r\n"
    "\r\n"
    "#arch=win64\r\n"
    "\r\n"
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1700000000\r\n"
    "#time=1da1c2b3d4e5f60\r\n"
    "\"AppData\"=\"C:\\\\users\\\\Jos\\x00e9\\\\AppData\\\\Roaming\"\r\n"
    "\"Personal\"=\"D:\\\\Mijn \\\"documenten\\\"\"\r\n"
    "\"Cache\"=str(2):\"%USERPROFILE%\\\\Cache\"\r\n"
    "\"Flags\"=dword:00000001\r\n"
    "\"Blob\"=hex:01,02,\\\r\n"
    "  03,04\r\n"
    "@=\"standaard\"\r\n"
    "\"Emoji\"=\"\\xd83d\\xde00 \\t\\101\"\r\n"
    "\"Broken\"=\"not closed\r\n"
    "\r\n"
    "[Software\\\\Bracket\\]Key] 1700000000\r\n"
    "\"A\"=\"1\"\r\n";

TEST(WineRegistry, ReadsStringValuesWithWinesEscapes) {
  const WineRegistry r = ParseWineRegistry(kUserReg);
  EXPECT_EQ(r.arch, "win64");
  const std::string key = "software\\microsoft\\windows\\currentversion\\explorer\\shell folders";
  ASSERT_TRUE(r.Value(key, "appdata"));
  EXPECT_EQ(*r.Value("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "AppData"),
            "C:\\users\\Jos\xC3\xA9\\AppData\\Roaming");
  EXPECT_EQ(*r.Value(key, "Personal"), "D:\\Mijn \"documenten\"");
  EXPECT_EQ(*r.Value(key, ""), "standaard");
  EXPECT_EQ(*r.Value(key, "Emoji"), "\xF0\x9F\x98\x80 \tA");
  // Other types, continuation lines and an unclosed text are passed over.
  for (const char* skipped : {"Cache", "Flags", "Blob", "Broken"}) EXPECT_EQ(r.Value(key, skipped), nullptr) << skipped;
  EXPECT_EQ(r.keys.at(key).size(), 4u);
  ASSERT_TRUE(r.Value("Software\\Bracket]Key", "a"));
  EXPECT_EQ(r.Value("Software\\Other", "A"), nullptr);
}

TEST(WineRegistry, ValuesBeforeAnyKeyAndFilesWithoutArchitecture) {
  const WineRegistry r = ParseWineRegistry("WINE REGISTRY Version 2\n\"Loose\"=\"x\"\n[K] 1\n\"V\"=\"y\"");
  EXPECT_EQ(r.arch, "");
  ASSERT_EQ(r.keys.size(), 1u);
  EXPECT_EQ(*r.Value("k", "v"), "y");
  EXPECT_TRUE(ParseWineRegistry("").keys.empty());
}

}  // namespace
}  // namespace vmu
