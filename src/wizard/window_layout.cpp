#include "wizard/window_layout.h"

#include <algorithm>

namespace vmu {

namespace {

std::vector<Control> LineAt(Area area, int row) {
  std::vector<const ControlInfo*> line;
  for (const ControlInfo& info : kControls) {
    if (info.place.area == area && info.place.row == row) line.push_back(&info);
  }
  std::sort(line.begin(), line.end(),
            [](const ControlInfo* a, const ControlInfo* b) { return a->place.column < b->place.column; });
  std::vector<Control> controls;
  for (const ControlInfo* info : line) controls.push_back(info->control);
  return controls;
}

}  // namespace

std::vector<std::vector<Control>> LinesOf(Area area) {
  std::vector<std::vector<Control>> lines;
  while (true) {
    std::vector<Control> line = LineAt(area, static_cast<int>(lines.size()));
    if (line.empty()) return lines;
    lines.push_back(std::move(line));
  }
}

std::vector<Control> ReadingOrder() {
  std::vector<Control> order;
  for (Area area : {Area::SideTop, Area::SideBottom, Area::Main, Area::Progress, Area::Bottom}) {
    for (const auto& line : LinesOf(area)) order.insert(order.end(), line.begin(), line.end());
  }
  return order;
}

}  // namespace vmu
