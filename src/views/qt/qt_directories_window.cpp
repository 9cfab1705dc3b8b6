#include "views/qt/qt_directories_window.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "views/qt/twips.h"

namespace vmu {

QtDirectoriesWindow::QtDirectoriesWindow(std::function<void()> command1, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  setObjectName("frmDirectories");
  setWindowTitle("Form1");
  resize(Twips(10380), Twips(8505));

  text_ = new QPlainTextEdit(this);
  text_->setObjectName("txtDirectory");
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  text_->setGeometry(TwipsRect(720, 600, 8415, 7455));
  text_->setPlainText("Text1");

  auto* button = new QPushButton("Command1", this);
  button->setObjectName("Command1");
  // The design's button is too narrow for its caption in most fonts here:
  // it grows to the left, into the space between it and the text box.
  QRect place = TwipsRect(9240, 7920, 975, 375);
  const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 10;
  if (needed > place.width()) place.setLeft(std::max(place.right() - needed, text_->geometry().right() + 4));
  button->setGeometry(place);
  connect(button, &QPushButton::clicked, this, [command1 = std::move(command1)] {
    if (command1) command1();
  });
}

void QtDirectoriesWindow::SetText(const std::string& text) {
  // The logic ends its lines with CR LF; the box shows each as one break.
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  text_->setPlainText(shown);
}

std::string QtDirectoriesWindow::Text() const { return text_->toPlainText().toStdString(); }

}  // namespace vmu
