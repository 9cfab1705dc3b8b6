// Where the wizard's controls stand, read from the table of controls, for
// the window that lays them out.
#pragma once

#include <vector>

#include "wizard/window_controls.h"

namespace vmu {

// The lines of an area, top to bottom, each left to right. Rows are
// numbered from 0 on without gaps; the first empty row ends the area.
std::vector<std::vector<Control>> LinesOf(Area area);

// Every control in the order a reader meets it: the left column, then the
// main column, the progress bar and the bottom row, each line left to right.
// The keyboard's Tab order follows it.
std::vector<Control> ReadingOrder();

}  // namespace vmu
