#include "views/qt/qt_info_window.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "testing/test_prefix.h"
#include "views/qt/qt_test_app.h"
#include "views/qt/qt_wizard_window.h"

namespace vmu {
namespace {

TEST(QtInfoWindow, WizardShowsItModalUntilOkWithTheFolderReadOnly) {
  testing::EnsureQtApp();
  testing::TestPrefix prefix;
  QtWizardWindow window(prefix.fs());

  QString title, label, text, ok;
  bool read_only = false, looks_like_the_window = false;
  testing::WhenModal([&](QWidget* modal) {
    auto* field = modal->findChild<QLineEdit*>("Text1");
    title = modal->windowTitle();
    label = modal->findChild<QLabel*>("Label1")->text();
    text = field->text();
    read_only = field->isReadOnly();
    looks_like_the_window = field->palette().color(QPalette::Base) == field->palette().color(QPalette::Button);
    ok = modal->findChild<QPushButton*>("CmdButton")->text();
    modal->findChild<QPushButton*>("CmdButton")->click();
  });
  window.ShowInfo("Titel", "Deze applicatie draait in:", "C:\\map");  // returns once OK is pressed
  EXPECT_EQ(title, "Titel");
  EXPECT_EQ(label, "Deze applicatie draait in:");
  EXPECT_EQ(text, "C:\\map");
  EXPECT_EQ(ok, "OK");
  EXPECT_TRUE(read_only);
  EXPECT_TRUE(looks_like_the_window);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(window.OpenInfoWindow(), nullptr);
}

}  // namespace
}  // namespace vmu
