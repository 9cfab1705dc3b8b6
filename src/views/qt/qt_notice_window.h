// The timed notice window (frmSplash): one bold line of text in a small
// dialog without title that closes itself two seconds after it was made.
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QTimer;

namespace vmu {

class QtNoticeWindow : public QDialog {
  Q_OBJECT

 public:
  // The timer starts now, not when the window is shown.
  explicit QtNoticeWindow(QWidget* parent = nullptr, int interval_ms = 2000);

  void SetText(const std::string& text);
  // True once the timer has fired: the window is closed for good.
  bool Expired() const { return expired_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void TimerFired();

  QLabel* label_;
  QTimer* timer_;
  bool expired_ = false;
};

// The program's one notice window, as the wizard uses it. CreateNotice makes
// it when there is none (or the last one has closed itself); ShowNotice does
// the same, sets the text and shows it modal until its timer has closed it.
void CreateNoticeWindow(QWidget* parent);
void ShowNoticeWindow(QWidget* parent, const std::string& text);

}  // namespace vmu
