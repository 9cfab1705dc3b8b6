#include "views/headless/transcript.h"

namespace vmu {

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    switch (ch) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default: out += ch;
    }
  }
  return out + "\"";
}

const char* Bool(bool value) { return value ? "true" : "false"; }

std::string StateLine(Control c, const ControlState& s) {
  std::string name(ControlName(c));
  if (Info(c).kind == ControlKind::ProgressBar)
    return "state Pbr max " + std::to_string(s.max) + " value " + std::to_string(s.value) + " visible " +
           Bool(s.visible);
  return "state " + name + " text " + Quote(s.text) + " enabled " + Bool(s.enabled) + " visible " + Bool(s.visible) +
         " bold " + Bool(s.bold) + " color " + (s.color == TextColor::Red ? "red" : "black");
}

}  // namespace vmu
