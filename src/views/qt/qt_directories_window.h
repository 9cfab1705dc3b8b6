// The special-folder window (frmDirectories): a sizeable window with a text
// box and a button that asks the logic to fill it.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QPlainTextEdit;

namespace vmu {

class QtDirectoriesWindow : public QWidget {
  Q_OBJECT

 public:
  // command1 runs when the button is pressed.
  QtDirectoriesWindow(std::function<void()> command1, QWidget* parent = nullptr);

  void SetText(const std::string& text);
  std::string Text() const;

 private:
  QPlainTextEdit* text_;
};

}  // namespace vmu
