// Where the window lays out each control of the table. The order of the
// buttons is checked on the real window, as its tab order (qt_tests).
#include "wizard/window_layout.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(WindowLayout, EveryControlStandsInOneLineWhereTheWindowHasIt) {
  using Lines = std::vector<std::vector<Control>>;
  // Each folder stands beside its name; the step's text before the buttons.
  EXPECT_EQ(
      LinesOf(Area::Main),
      (Lines{{Control::Label1_0}, {Control::Label1_1}, {Control::Label1_3, Control::Label1_2}, {Control::Label4}}));
  EXPECT_EQ(
      LinesOf(Area::Bottom),
      (Lines{{Control::Label2, Control::Label3, Control::CancelButton, Control::CmdWizard_0, Control::CmdWizard_1}}));

  // A control after a gap in the rows would never be laid out.
  int placed = 0;
  for (Area area : {Area::SideTop, Area::SideBottom, Area::Main, Area::Progress, Area::Bottom}) {
    for (const auto& line : LinesOf(area)) placed += static_cast<int>(line.size());
  }
  EXPECT_EQ(placed, kControlCount);
}

}  // namespace
}  // namespace vmu
