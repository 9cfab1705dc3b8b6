// The table of the wizard's controls: what the transcript, the script and the
// window's layout take from it.
#include "wizard/window_controls.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/script/transcript.h"
#include "wizard/window_design.h"
#include "wizard/window_layout.h"

namespace vmu {
namespace {

TEST(WindowControls, StartAsTheWindowIsDesigned) {
  std::string dump;
  for (const ControlInfo& info : kControls) dump += StateLine(info.control, DesignState(info.control)) + "\n";
  EXPECT_EQ(dump,
            "state Label1(0) text \"Label1\" enabled true visible true bold true color black\n"
            "state Label1(1) text \"Label1\" enabled true visible true bold false color black\n"
            "state Label1(2) text \"Label1\" enabled true visible true bold false color black\n"
            "state Label1(3) text \"Label1\" enabled true visible true bold false color black\n"
            "state Label2 text \"Label2\" enabled true visible true bold true color black\n"
            "state Label3 text \"Label3\" enabled true visible true bold false color black\n"
            "state Label4 text \"Label4\" enabled true visible true bold false color black\n"
            "state CmdWizard(0) text \"<< Vorige\" enabled false visible true bold false color black\n"
            "state CmdWizard(1) text \"Volgende >>\" enabled true visible true bold false color black\n"
            "state CancelButton text \"Annuleren\" enabled true visible true bold false color black\n"
            "state cmdTurnBack text \"Terugdraaien Update\" enabled true visible true bold false color black\n"
            "state cmdOpenLocation text \"Open andere programma map\" enabled true visible true bold false "
            "color black\n"
            "state cmdOpenDirectories text \"Directories\" enabled true visible false bold false color black\n"
            "state CmdCompareTables text \"Analyse tabellen. Zet deze knop op invisible!!! Ga eerst de "
            "mutatiefile inlezen totdat de mededeling op deze knop verandert\" enabled true visible false "
            "bold false color black\n"
            "state CmdStartApp text \"Command1\" enabled true visible false bold false color black\n"
            "state Image1 text \"\" enabled true visible true bold false color black\n"
            "state Pbr max 100 value 0 visible false\n");
}

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
  EXPECT_EQ(words.size(), 9u);

  EXPECT_EQ(ControlByWord("next", ControlKind::Button)->control, Control::CmdWizard_1);
  EXPECT_EQ(ControlByWord("image", ControlKind::Picture)->control, Control::Image1);
  // "press image" and "dblclick next" name nothing.
  EXPECT_EQ(ControlByWord("image", ControlKind::Button), nullptr);
  EXPECT_EQ(ControlByWord("next", ControlKind::Picture), nullptr);
  EXPECT_EQ(ControlByWord("", ControlKind::Label), nullptr);
  EXPECT_EQ(ControlByWord("command1", ControlKind::Button), nullptr);  // on the special-folder window
}

TEST(WindowLayout, EveryControlStandsInOneLineWhereTheWindowHasIt) {
  using Lines = std::vector<std::vector<Control>>;
  EXPECT_EQ(LinesOf(Area::SideTop), (Lines{{Control::Image1}}));
  EXPECT_EQ(LinesOf(Area::SideBottom), (Lines{{Control::cmdTurnBack},
                                               {Control::cmdOpenLocation},
                                               {Control::cmdOpenDirectories},
                                               {Control::CmdCompareTables},
                                               {Control::CmdStartApp}}));
  // Each folder stands beside its name.
  EXPECT_EQ(LinesOf(Area::Main), (Lines{{Control::Label1_0},
                                         {Control::Label1_1},
                                         {Control::Label1_3, Control::Label1_2},
                                         {Control::Label4}}));
  EXPECT_EQ(LinesOf(Area::Progress), (Lines{{Control::Pbr}}));
  EXPECT_EQ(LinesOf(Area::Bottom), (Lines{{Control::Label2, Control::Label3, Control::CancelButton,
                                            Control::CmdWizard_0, Control::CmdWizard_1}}));

  // A control after a gap in the rows would never be laid out.
  int placed = 0;
  for (Area area : {Area::SideTop, Area::SideBottom, Area::Main, Area::Progress, Area::Bottom}) {
    for (const auto& line : LinesOf(area)) placed += static_cast<int>(line.size());
  }
  EXPECT_EQ(placed, kControlCount);
}

}  // namespace
}  // namespace vmu
