#include "views/headless/script_view.h"

#include "platform/program_end.h"
#include "views/headless/transcript.h"
#include "wizard/window_design.h"

namespace vmu {

namespace {

const char* IconName(Icon icon) {
  switch (icon) {
    case Icon::None: return "none";
    case Icon::Information: return "information";
    case Icon::Exclamation: return "exclamation";
    case Icon::Critical: return "critical";
  }
  return "none";
}

const char* AnswerName(Answer a) {
  switch (a) {
    case Answer::Ok: return "ok";
    case Answer::Yes: return "yes";
    case Answer::No: return "no";
  }
  return "ok";
}

}  // namespace

ScriptView::ScriptView(std::ostream& out) : out_(out) {
  for (int i = 0; i < kControlCount; ++i) state_[i] = DesignState(kControls[i].control);
}

void ScriptView::Line(const std::string& line) { out_ << line << '\n' << std::flush; }

void ScriptView::SetText(Control c, const std::string& text) {
  state_[static_cast<int>(c)].text = text;
  Line("set " + std::string(ControlName(c)) + " text " + Quote(text));
}

void ScriptView::SetEnabled(Control c, bool enabled) {
  state_[static_cast<int>(c)].enabled = enabled;
  Line("set " + std::string(ControlName(c)) + " enabled " + Bool(enabled));
}

void ScriptView::SetVisible(Control c, bool visible) {
  state_[static_cast<int>(c)].visible = visible;
  Line("set " + std::string(ControlName(c)) + " visible " + Bool(visible));
}

void ScriptView::SetBold(Control c, bool bold) {
  state_[static_cast<int>(c)].bold = bold;
  Line("set " + std::string(ControlName(c)) + " bold " + Bool(bold));
}

void ScriptView::SetColor(Control c, TextColor color) {
  state_[static_cast<int>(c)].color = color;
  Line("set " + std::string(ControlName(c)) + " color " + (color == TextColor::Red ? "red" : "black"));
}

void ScriptView::SetProgressMax(int max) {
  state_[static_cast<int>(Control::Pbr)].max = max;
  Line("set Pbr max " + std::to_string(max));
}

void ScriptView::SetProgressValue(int value) {
  state_[static_cast<int>(Control::Pbr)].value = value;
  Line("set Pbr value " + std::to_string(value));
}

void ScriptView::Redraw() { Line("redraw"); }

void ScriptView::ShowWindow() { Line("window show"); }

void ScriptView::CloseWindow() { Line("window close"); }

void ScriptView::EndProgram() { throw ProgramEnded{}; }

// The timed and the one-button windows return at once, as if their time had
// run out or their OK button had been pressed.
void ScriptView::ShowNotice(const std::string& text) { Line("notice text " + Quote(text)); }

void ScriptView::ShowInfo(const std::string& title, const std::string& label, const std::string& text) {
  Line("info title " + Quote(title) + " label " + Quote(label) + " text " + Quote(text));
}

void ScriptView::ShowDirectories() {
  directories_shown_ = true;
  Line("directories show");
}

void ScriptView::SetDirectoriesText(const std::string& text) { Line("directories text " + Quote(text)); }

ControlState ScriptView::Inspect(Control c) { return state_[static_cast<int>(c)]; }

Answer ScriptView::ShowMessage(const MessageBoxSpec& request) {
  std::string line = "msgbox title " + Quote(request.title) + " text " + Quote(request.text) + " buttons " +
                     (request.buttons == Buttons::YesNo ? "yesno" : "ok") + " icon " + IconName(request.icon) +
                     " default " + std::to_string(request.default_button);
  if (answers_.empty()) {
    Line(line);
    Line("error no answer queued");
    throw ScriptAbort{3};
  }
  Answer a = answers_.front();
  answers_.pop_front();
  // An OK-only box can only be answered with OK.
  if (request.buttons == Buttons::Ok) a = Answer::Ok;
  Line(line + " -> " + AnswerName(a));
  return a;
}

std::string ScriptView::ShowOpenFile(const FileDialogSpec& request) {
  std::string line = "filedialog title " + Quote(request.title) + " filter " + Quote(request.filter) + " folder " +
                     Quote(request.folder) + " file " + Quote(request.file);
  if (files_.empty()) {
    Line(line);
    Line("error no answer queued");
    throw ScriptAbort{3};
  }
  std::string chosen = files_.front();
  files_.pop_front();
  Line(line + " -> " + Quote(chosen));
  return chosen;
}

}  // namespace vmu
