// Keeps a dialog inside the free area of the screen it opens on: at a large
// scale factor Qt's own dialogs (the file dialog above all) ask for more room
// than a small screen has, and their bottom row would fall off it.
#pragma once

#include <QMessageBox>

namespace vmu {

// From the dialog's next show on, every time it is shown.
void KeepOnScreen(QWidget* dialog);

// A message box sizes itself anew whenever its layout changes, after any
// filter has seen the event: its bound follows each time.
class ScreenBoundMessageBox : public QMessageBox {
 public:
  explicit ScreenBoundMessageBox(QWidget* parent) : QMessageBox(parent) {}

 protected:
  bool event(QEvent* event) override;
};

}  // namespace vmu
