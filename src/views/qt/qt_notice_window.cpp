#include "views/qt/qt_notice_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "views/qt/screen_bound.h"
#include "views/qt/twips.h"

namespace vmu {

QtNoticeWindow::QtNoticeWindow(QWidget* parent, int interval_ms)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName("frmSplash");
  setWindowTitle(QString());
  setFixedSize(Twips(5370), Twips(2460));

  label_ = new QLabel("Label1", this);
  label_->setObjectName("Label1");
  label_->setTextFormat(Qt::PlainText);
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bold = label_->font();
  bold.setBold(true);
  bold.setPointSizeF(10);
  label_->setFont(bold);
  label_->setGeometry(TwipsRect(195, 570, 5010, 240));

  timer_ = new QTimer(this);
  timer_->setInterval(interval_ms);
  connect(timer_, &QTimer::timeout, this, &QtNoticeWindow::TimerFired);
  timer_->start();
}

void QtNoticeWindow::SetText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  label_->setText(shown);
  // The design holds one line; a notice of several lines (the description,
  // an empty line, the count) grows downwards instead of being cut off.
  const QRect design = TwipsRect(195, 570, 5010, 240);
  const int needed = label_->heightForWidth(design.width());
  label_->resize(design.width(), std::max(design.height(), std::min(needed, height() - design.top())));
}

void QtNoticeWindow::TimerFired() {
  timer_->stop();
  expired_ = true;
  done(QDialog::Accepted);  // ends the modal display, if there is one
  hide();
}

// Only the timer closes the window: keys (Escape included) do nothing.
void QtNoticeWindow::keyPressEvent(QKeyEvent* event) { event->accept(); }

void QtNoticeWindow::closeEvent(QCloseEvent* event) {
  if (expired_) {
    QDialog::closeEvent(event);
  } else {
    event->ignore();
  }
}

void QtNoticeWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

namespace {

// frmSplash exists at most once; the timer's firing unloads it.
QPointer<QtNoticeWindow>& Notice() {
  static QPointer<QtNoticeWindow> notice;
  return notice;
}

QtNoticeWindow& LiveNotice(QWidget* parent) {
  QPointer<QtNoticeWindow>& notice = Notice();
  if (notice && notice->Expired()) delete notice.data();
  if (!notice) {
    notice = new QtNoticeWindow(parent);
    KeepOnScreen(notice);
  }
  return *notice;
}

}  // namespace

void CreateNoticeWindow(QWidget* parent) { LiveNotice(parent); }

void ShowNoticeWindow(QWidget* parent, const std::string& text) {
  QPointer<QtNoticeWindow> notice = &LiveNotice(parent);
  notice->SetText(text);
  notice->exec();
  // Closed by its timer (or destroyed with its parent): unloaded.
  if (notice) delete notice.data();
}

}  // namespace vmu
