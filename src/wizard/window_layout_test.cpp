// Where the window lays out each control of the table.
#include "wizard/window_layout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vmu {
namespace {

TEST(WindowLayout, EveryControlStandsInOneLineWhereTheWindowHasIt) {
  using Lines = std::vector<std::vector<Control>>;
  EXPECT_EQ(LinesOf(Area::SideTop), (Lines{{Control::Image1}}));
  EXPECT_EQ(LinesOf(Area::SideBottom), (Lines{{Control::cmdTurnBack},
                                              {Control::cmdOpenLocation},
                                              {Control::cmdOpenDirectories},
                                              {Control::CmdCompareTables},
                                              {Control::CmdStartApp},
                                              {Control::cmdSearchUpdate}}));
  // Each folder stands beside its name.
  EXPECT_EQ(
      LinesOf(Area::Main),
      (Lines{{Control::Label1_0}, {Control::Label1_1}, {Control::Label1_3, Control::Label1_2}, {Control::Label4}}));
  EXPECT_EQ(LinesOf(Area::Progress), (Lines{{Control::Pbr}}));
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

TEST(WindowLayout, ReadingOrderGoesDownTheSideThenTheMainColumnThenAlongTheBottom) {
  const std::vector<Control> order = ReadingOrder();
  ASSERT_EQ(order.size(), static_cast<size_t>(kControlCount));
  std::vector<Control> buttons;
  for (Control c : order) {
    if (Info(c).kind == ControlKind::Button) buttons.push_back(c);
  }
  EXPECT_EQ(buttons, (std::vector<Control>{Control::cmdTurnBack, Control::cmdOpenLocation, Control::cmdOpenDirectories,
                                           Control::CmdCompareTables, Control::CmdStartApp, Control::cmdSearchUpdate,
                                           Control::CancelButton, Control::CmdWizard_0, Control::CmdWizard_1}));
  // The page's text comes after the side column and before the bottom row.
  const auto at = [&](Control c) { return std::find(order.begin(), order.end(), c) - order.begin(); };
  EXPECT_LT(at(Control::CmdStartApp), at(Control::Label1_1));
  EXPECT_LT(at(Control::Label1_1), at(Control::CancelButton));
}

}  // namespace
}  // namespace vmu
