#include "views/qt/qt_notice_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <chrono>
#include <thread>

#include "views/qt/qt_test_app.h"

namespace vmu {
namespace {

TEST(NoticeWindow, OnlyItsTimerClosesItEvenOneThatRanOutBeforeTheShow) {
  testing::EnsureQtApp();
  // Escape would close an ordinary dialog; here only the timer does.
  QtNoticeWindow notice(nullptr, 200);
  bool still_open_after_escape = false;
  testing::WhenModal([&](QWidget* modal) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(modal, &escape);
    modal->close();
    still_open_after_escape = modal->isVisible();
  });
  notice.exec();
  EXPECT_TRUE(still_open_after_escape);
  EXPECT_TRUE(notice.Expired());
  EXPECT_FALSE(notice.isVisible());
  // A timer that ran out before the show closes it at once.
  QtNoticeWindow late(nullptr, 20);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  late.exec();  // returns without anyone closing it
  EXPECT_TRUE(late.Expired());
}

}  // namespace
}  // namespace vmu
