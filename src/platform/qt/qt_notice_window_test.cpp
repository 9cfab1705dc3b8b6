#include "platform/qt/qt_notice_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <chrono>
#include <thread>

#include "platform/qt/qt_test_app.h"
#include "platform/qt/qt_wizard_window.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

TEST(NoticeWindow, IsASmallUntitledDialogWithABoldLabel) {
  testing::EnsureQtApp();
  QtNoticeWindow notice(nullptr, 60000);
  notice.SetText("Klanten\r\n\r\n3 records");
  EXPECT_EQ(notice.windowTitle(), "");
  EXPECT_EQ(notice.size(), QSize(358, 164));
  EXPECT_FALSE(notice.windowFlags() & Qt::WindowTitleHint);
  auto* label = notice.findChild<QLabel*>("Label1");
  ASSERT_NE(label, nullptr);
  EXPECT_TRUE(label->font().bold());
  EXPECT_EQ(label->text(), "Klanten\n\n3 records");
  EXPECT_EQ(label->x(), 13);
  EXPECT_GE(label->height(), label->heightForWidth(label->width()));
}

TEST(NoticeWindow, ClosesItselfAndIgnoresKeys) {
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
}

TEST(NoticeWindow, ATimerThatRanOutBeforeTheShowClosesItAtOnce) {
  testing::EnsureQtApp();
  QtNoticeWindow notice(nullptr, 20);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  notice.exec();  // returns without anyone closing it
  EXPECT_TRUE(notice.Expired());
}

TEST(NoticeWindow, TheWizardShowsEachNoticeInAFreshWindowUntilItClosesItself) {
  testing::EnsureQtApp();
  testing::TestPrefix prefix;
  QtWizardWindow window(prefix.fs());
  window.CreateNotice();
  QString shown;
  testing::WhenModal([&](QWidget* modal) { shown = modal->findChild<QLabel*>("Label1")->text(); });
  window.ShowNotice("Facturen\r\n\r\n0 records");
  EXPECT_EQ(shown, "Facturen\n\n0 records");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<QtNoticeWindow*>(w), nullptr);
}

}  // namespace
}  // namespace vmu
