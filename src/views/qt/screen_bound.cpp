#include "views/qt/screen_bound.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vmu {

namespace {

void FitToScreen(QWidget* dialog) {
  const QScreen* screen = dialog->screen();
  if (!screen) return;
  const QRect free = screen->availableGeometry();
  // The frame the window system adds stays on screen too.
  const QSize frame = dialog->frameGeometry().size() - dialog->size();
  const QSize room = (free.size() - frame).expandedTo(QSize(1, 1));
  // A message box fixes its own size as it is shown: the bound goes on top.
  dialog->setMinimumSize(dialog->minimumSize().boundedTo(room));
  dialog->setMaximumSize(dialog->maximumSize().boundedTo(room));
  dialog->resize(dialog->size().boundedTo(room));
  QRect outer = dialog->frameGeometry();
  outer.moveLeft(std::clamp(outer.left(), free.left(), free.right() + 1 - outer.width()));
  outer.moveTop(std::clamp(outer.top(), free.top(), free.bottom() + 1 - outer.height()));
  dialog->move(outer.topLeft());
}

class ScreenBound : public QObject {
 public:
  explicit ScreenBound(QWidget* dialog) : QObject(dialog) { dialog->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    // Sent after the dialog's own show handling, which may set its size.
    if (event->type() == QEvent::ShowToParent) FitToScreen(static_cast<QWidget*>(watched));
    return false;
  }
};

}  // namespace

void KeepOnScreen(QWidget* dialog) { new ScreenBound(dialog); }

bool ScreenBoundMessageBox::event(QEvent* event) {
  const bool handled = QMessageBox::event(event);
  const QEvent::Type type = event->type();
  if ((type == QEvent::LayoutRequest || type == QEvent::ShowToParent) && isVisible()) FitToScreen(this);
  return handled;
}

}  // namespace vmu
