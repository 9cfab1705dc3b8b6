#include "wizard/window_design.h"

namespace vmu {

ControlState DesignState(Control c) {
  const ControlInfo& info = Info(c);
  ControlState s;
  s.text = std::string(info.text);
  s.visible = info.start.visible;
  s.enabled = info.start.enabled;
  s.bold = info.start.bold;
  return s;
}

}  // namespace vmu
