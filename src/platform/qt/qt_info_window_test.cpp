#include "platform/qt/qt_info_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/qt_test_app.h"
#include "platform/qt/qt_wizard_window.h"
#include "testing/test_prefix.h"

namespace vmu {
namespace {

TEST(QtInfoWindow, LaidOutAsDesignedInPixelsOfFifteenTwips) {
  testing::EnsureQtApp();
  QtInfoWindow info("Informatie over programma directory van VM_Update", "Deze applicatie draait in:",
                    "Z:\\opt\\vmu");
  EXPECT_EQ(info.windowTitle(), "Informatie over programma directory van VM_Update");
  EXPECT_EQ(info.minimumSize(), QSize(546, 203));
  EXPECT_EQ(info.maximumSize(), QSize(546, 203));

  auto* label = info.findChild<QLabel*>("Label1");
  auto* text = info.findChild<QLineEdit*>("Text1");
  auto* ok = info.findChild<QPushButton*>("CmdButton");
  ASSERT_TRUE(label && text && ok);
  EXPECT_EQ(label->text(), "Deze applicatie draait in:");
  EXPECT_EQ(label->geometry(), QRect(16, 8, 521, 16));
  EXPECT_EQ(text->text(), "Z:\\opt\\vmu");
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->palette().color(QPalette::Base), text->palette().color(QPalette::Button));
  EXPECT_EQ(text->geometry(), QRect(16, 40, 521, 113));
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_EQ(ok->geometry(), QRect(392, 160, 129, 33));
}

TEST(QtInfoWindow, WizardShowsItModalUntilOkOrOpenForTheScript) {
  testing::EnsureQtApp();
  testing::TestPrefix prefix;
  QtWizardWindow window(prefix.fs());

  QString seen_title, seen_text;
  testing::WhenModal([&](QWidget* modal) {
    seen_title = modal->windowTitle();
    seen_text = modal->findChild<QLineEdit*>("Text1")->text();
    modal->findChild<QPushButton*>("CmdButton")->click();
  });
  window.ShowInfo("Titel", "Label", "C:\\map");  // returns once OK is pressed
  EXPECT_EQ(seen_title, "Titel");
  EXPECT_EQ(seen_text, "C:\\map");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(window.OpenInfoWindow(), nullptr);

  // Answered by a script: shown without waiting, kept for its picture.
  window.SetInfoAnsweredByScript(true);
  window.ShowInfo("Titel 2", "Label", "C:\\map");
  QWidget* open = window.OpenInfoWindow();
  ASSERT_NE(open, nullptr);
  EXPECT_EQ(open->windowTitle(), "Titel 2");
  EXPECT_FALSE(open->isModal());
  window.CloseInfoWindow();
  EXPECT_EQ(window.OpenInfoWindow(), nullptr);
}

}  // namespace
}  // namespace vmu
