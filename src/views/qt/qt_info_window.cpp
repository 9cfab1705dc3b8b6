#include "views/qt/qt_info_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "views/qt/twips.h"

namespace vmu {

QtInfoWindow::QtInfoWindow(const std::string& title, const std::string& label, const std::string& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(QString::fromStdString(title));
  setFixedSize(Twips(8190), Twips(3045));

  auto* caption = new QLabel(QString::fromStdString(label), this);
  caption->setObjectName("Label1");
  caption->setTextFormat(Qt::PlainText);
  caption->setGeometry(TwipsRect(240, 120, 7815, 240));

  // Read-only, on the button-face colour: the folder can be selected and
  // copied, not changed.
  auto* folder = new QLineEdit(QString::fromStdString(text), this);
  folder->setObjectName("Text1");
  folder->setReadOnly(true);
  folder->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  folder->setCursorPosition(0);
  QPalette palette = folder->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  folder->setPalette(palette);
  folder->setGeometry(TwipsRect(240, 600, 7815, 1695));

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("CmdButton");
  ok->setDefault(true);
  ok->setGeometry(TwipsRect(5880, 2400, 1935, 495));
  // OK only hides the window, which ends its modal display.
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  ok->setFocus();
}

void QtInfoWindow::CentreOnScreen() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

}  // namespace vmu
