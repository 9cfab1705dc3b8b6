#include "views/qt/qt_notice_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <chrono>
#include <thread>

#include "testing/test_prefix.h"
#include "views/qt/qt_test_app.h"
#include "views/qt/qt_wizard_window.h"

namespace vmu {
namespace {

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

TEST(NoticeWindow, TheWizardShowsEachNoticeUntitledAndBoldInAFreshWindowUntilItClosesItself) {
  testing::EnsureQtApp();
  testing::TestPrefix prefix;
  QtWizardWindow window(prefix.fs());
  window.CreateNotice();
  QString shown;
  bool untitled = false, bold = false, fits = false;
  testing::WhenModal([&](QWidget* modal) {
    auto* label = modal->findChild<QLabel*>("Label1");
    shown = label->text();
    untitled = !(modal->windowFlags() & Qt::WindowTitleHint) && modal->windowTitle().isEmpty();
    bold = label->font().bold();
    fits = label->height() >= label->heightForWidth(label->width());
  });
  window.ShowNotice("Facturen\r\n\r\n0 records");
  EXPECT_EQ(shown, "Facturen\n\n0 records");
  EXPECT_TRUE(untitled && bold && fits) << untitled << bold << fits;
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<QtNoticeWindow*>(w), nullptr);
}

}  // namespace
}  // namespace vmu
