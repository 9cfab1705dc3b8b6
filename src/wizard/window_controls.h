// The wizard window's controls, in one table: what each control is, how it
// starts, where it stands and the word a script uses for it. The views, the
// script driver and the click handling read this table, so a new control is
// one new enum value and one new row here (plus its handler, if it has one).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace vmu {

// In table order.
enum class Control {
  Label1_0,
  Label1_1,
  Label1_2,
  Label1_3,
  Label2,
  Label3,
  Label4,
  CmdWizard_0,
  CmdWizard_1,
  CancelButton,
  cmdTurnBack,
  cmdOpenLocation,
  cmdOpenDirectories,
  CmdCompareTables,
  CmdStartApp,
  cmdSearchUpdate,
  Image1,
  Pbr,
};
inline constexpr int kControlCount = static_cast<int>(Control::Pbr) + 1;

enum class ControlKind { Label, Button, Picture, ProgressBar };

// The window is a left column (the picture at its top, the side buttons at
// its bottom), a main column of rows to the right of it, the progress bar
// across the window and the bottom row under everything.
enum class Area { SideTop, SideBottom, Main, Progress, Bottom };

struct Place {
  Area area;
  int row = 0;         // top to bottom inside the area
  int column = 0;      // left to right inside the row
  bool fills = false;  // takes the room the others in its line leave
  bool apart = false;  // a gap separates it from the control before it
};

struct StartState {
  bool visible = true;
  bool enabled = true;
  bool bold = false;
};

struct ControlInfo {
  Control control;
  std::string_view name;  // as the code names it: "Label1(1)", "CmdWizard(0)"
  ControlKind kind;
  std::string_view text;  // label text or button caption at creation
  StartState start;
  Place place;
  std::string_view word;  // what a script calls it; empty when a script cannot reach it
};

// The button "Command1" that scripts press belongs to the special-folder
// window, not to this one.
inline constexpr std::array<ControlInfo, kControlCount> kControls = {{
    {Control::Label1_0, "Label1(0)", ControlKind::Label, "Label1", {.bold = true}, {.area = Area::Main, .row = 0}, ""},
    {Control::Label1_1,
     "Label1(1)",
     ControlKind::Label,
     "Label1",
     {},
     {.area = Area::Main, .row = 1, .fills = true},
     ""},
    {Control::Label1_2,
     "Label1(2)",
     ControlKind::Label,
     "Label1",
     {},
     {.area = Area::Main, .row = 2, .column = 1, .fills = true},
     ""},
    {Control::Label1_3, "Label1(3)", ControlKind::Label, "Label1", {}, {.area = Area::Main, .row = 2, .column = 0}, ""},
    {Control::Label2, "Label2", ControlKind::Label, "Label2", {.bold = true}, {.area = Area::Bottom, .column = 0}, ""},
    {Control::Label3,
     "Label3",
     ControlKind::Label,
     "Label3",
     {},
     {.area = Area::Bottom, .column = 1, .fills = true},
     ""},
    {Control::Label4, "Label4", ControlKind::Label, "Label4", {}, {.area = Area::Main, .row = 3}, ""},
    {Control::CmdWizard_0,
     "CmdWizard(0)",
     ControlKind::Button,
     "<< Vorige",
     {.enabled = false},
     {.area = Area::Bottom, .column = 3, .apart = true},
     "back"},
    {Control::CmdWizard_1,
     "CmdWizard(1)",
     ControlKind::Button,
     "Volgende >>",
     {},
     {.area = Area::Bottom, .column = 4},
     "next"},
    {Control::CancelButton,
     "CancelButton",
     ControlKind::Button,
     "Annuleren",
     {},
     {.area = Area::Bottom, .column = 2},
     "cancel"},
    {Control::cmdTurnBack,
     "cmdTurnBack",
     ControlKind::Button,
     "Terugdraaien Update",
     {},
     {.area = Area::SideBottom, .row = 0},
     "turnback"},
    {Control::cmdOpenLocation,
     "cmdOpenLocation",
     ControlKind::Button,
     "Open andere programma map",
     {},
     {.area = Area::SideBottom, .row = 1},
     "openlocation"},
    {Control::cmdOpenDirectories,
     "cmdOpenDirectories",
     ControlKind::Button,
     "Directories",
     {.visible = false},
     {.area = Area::SideBottom, .row = 2},
     "directories"},
    {Control::CmdCompareTables,
     "CmdCompareTables",
     ControlKind::Button,
     "Analyse tabellen. Zet deze knop op invisible!!! Ga eerst de mutatiefile inlezen totdat de mededeling op "
     "deze knop verandert",
     {.visible = false},
     {.area = Area::SideBottom, .row = 3},
     "comparetables"},
    {Control::CmdStartApp,
     "CmdStartApp",
     ControlKind::Button,
     "Command1",
     {.visible = false},
     {.area = Area::SideBottom, .row = 4},
     "startapp"},
    // Shown only where the program folder names an update feed (UpdateBron.txt).
    {Control::cmdSearchUpdate,
     "cmdSearchUpdate",
     ControlKind::Button,
     "Zoek update op internet",
     {.visible = false},
     {.area = Area::SideBottom, .row = 5},
     "searchupdate"},
    {Control::Image1, "Image1", ControlKind::Picture, "", {}, {.area = Area::SideTop, .row = 0}, "image"},
    {Control::Pbr, "Pbr", ControlKind::ProgressBar, "", {.visible = false}, {.area = Area::Progress, .row = 0}, ""},
}};

constexpr const ControlInfo& Info(Control c) { return kControls[static_cast<std::size_t>(c)]; }

constexpr std::string_view ControlName(Control c) { return Info(c).name; }

// The control of that kind a script calls `word`; nullptr when there is none.
constexpr const ControlInfo* ControlByWord(std::string_view word, ControlKind kind) {
  if (word.empty()) return nullptr;
  for (const ControlInfo& info : kControls) {
    if (info.kind == kind && info.word == word) return &info;
  }
  return nullptr;
}

// Info() indexes the table by the enum.
constexpr bool TableInEnumOrder() {
  for (int i = 0; i < kControlCount; ++i) {
    if (static_cast<int>(kControls[i].control) != i) return false;
  }
  return true;
}
static_assert(TableInEnumOrder(), "kControls must list the controls in the order of enum Control");

}  // namespace vmu
