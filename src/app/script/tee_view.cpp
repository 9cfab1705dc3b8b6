#include "app/script/tee_view.h"

#include "platform/program_end.h"

namespace vmu {

void TeeView::SetText(Control c, const std::string& text) {
  recorder_.SetText(c, text);
  window_.SetText(c, text);
}

void TeeView::SetEnabled(Control c, bool enabled) {
  recorder_.SetEnabled(c, enabled);
  window_.SetEnabled(c, enabled);
}

void TeeView::SetVisible(Control c, bool visible) {
  recorder_.SetVisible(c, visible);
  window_.SetVisible(c, visible);
}

void TeeView::SetBold(Control c, bool bold) {
  recorder_.SetBold(c, bold);
  window_.SetBold(c, bold);
}

void TeeView::SetColor(Control c, TextColor color) {
  recorder_.SetColor(c, color);
  window_.SetColor(c, color);
}

void TeeView::SetProgressMax(int max) {
  recorder_.SetProgressMax(max);
  window_.SetProgressMax(max);
}

void TeeView::SetProgressValue(int value) {
  recorder_.SetProgressValue(value);
  window_.SetProgressValue(value);
}

void TeeView::Redraw() {
  recorder_.Redraw();
  window_.Redraw();
}

void TeeView::ShowWindow() {
  recorder_.ShowWindow();
  window_.ShowWindow();
}

void TeeView::CloseWindow() {
  recorder_.CloseWindow();
  window_.CloseWindow();
}

void TeeView::ShowDirectories() {
  recorder_.ShowDirectories();
  window_.ShowDirectories();
}

void TeeView::SetDirectoriesText(const std::string& text) {
  recorder_.SetDirectoriesText(text);
  window_.SetDirectoriesText(text);
}

void TeeView::EndProgram() {
  try {
    window_.EndProgram();
  } catch (const ProgramEnded&) {
  }
  throw ProgramEnded{};
}

}  // namespace vmu
