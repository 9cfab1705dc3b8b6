// The table of the wizard's controls: the words a script uses for them.
#include "wizard/window_controls.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>

namespace vmu {
namespace {

TEST(WindowControls, ScriptWordsNameOneControlOfTheirKind) {
  std::set<std::string_view> names;
  std::set<std::string_view> words;
  for (const ControlInfo& info : kControls) {
    EXPECT_TRUE(names.insert(info.name).second) << info.name;
    if (info.word.empty()) continue;
    EXPECT_TRUE(words.insert(info.word).second) << info.word;
    // Only what a user can click or double-click has a word.
    EXPECT_TRUE(info.kind == ControlKind::Button || info.kind == ControlKind::Picture) << info.name;
    EXPECT_EQ(ControlByWord(info.word, info.kind), &info);
  }
  EXPECT_EQ(words.size(), 10u);
  // "press image" and "dblclick next" are the script driver's test.
  EXPECT_EQ(ControlByWord("", ControlKind::Label), nullptr);
  EXPECT_EQ(ControlByWord("command1", ControlKind::Button), nullptr);  // on the special-folder window
}

}  // namespace
}  // namespace vmu
