// The folder information window (dFrmInfo): a small fixed dialog with one
// line of text and an OK button.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace vmu {

class QtInfoWindow : public QDialog {
  Q_OBJECT

 public:
  QtInfoWindow(const std::string& title, const std::string& label, const std::string& text, QWidget* parent = nullptr);

  // Places the window in the middle of the screen it is on.
  void CentreOnScreen();
};

}  // namespace vmu
