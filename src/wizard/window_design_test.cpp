// The window as designed, as a script's dump shows it before anything runs.
#include "wizard/window_design.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/headless/transcript.h"

namespace vmu {
namespace {

TEST(WindowDesign, ControlsStartAsTheWindowIsDesigned) {
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
            "state cmdSearchUpdate text \"Zoek update op internet\" enabled true visible false bold false color "
            "black\n"
            "state Image1 text \"\" enabled true visible true bold false color black\n"
            "state Pbr max 100 value 0 visible false\n");
}

}  // namespace
}  // namespace vmu
