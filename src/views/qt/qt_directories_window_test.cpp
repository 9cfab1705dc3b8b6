#include "views/qt/qt_directories_window.h"

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>

#include "testing/test_prefix.h"
#include "views/qt/qt_test_app.h"
#include "views/qt/qt_wizard_window.h"

namespace vmu {
namespace {

struct Command1Events : WizardEvents {
  void Clicked(Control) override {}
  void DoubleClicked(Control) override {}
  bool CloseRequested() override { return true; }
  void DirectoriesCommand1Clicked() override { ++presses; }
  int presses = 0;
};

TEST(QtDirectoriesWindow, MadeOnceShowsItsDesignTextAndReportsCommand1) {
  testing::EnsureQtApp();
  testing::TestPrefix prefix;
  QtWizardWindow window(prefix.fs());
  Command1Events events;
  window.SetEvents(&events);

  window.SetDirectoriesText("ignored");  // no window yet: nothing to fill
  EXPECT_EQ(window.OpenDirectoriesWindow(), nullptr);
  window.ShowDirectories();
  QWidget* shown = window.OpenDirectoriesWindow();
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->isWindow());
  auto* text = shown->findChild<QPlainTextEdit*>("txtDirectory");
  auto* command1 = shown->findChild<QPushButton*>("Command1");
  ASSERT_TRUE(text && command1);
  EXPECT_EQ(shown->windowTitle(), "Form1");
  EXPECT_EQ(command1->text(), "Command1");
  EXPECT_EQ(text->toPlainText(), "Text1");
  command1->click();
  EXPECT_EQ(events.presses, 1);
  window.SetDirectoriesText("0: C:\\a\r\n1: \r\n");
  EXPECT_EQ(text->toPlainText(), "0: C:\\a\n1: \n");

  // Closed by the user and opened again: the same window, as it was left.
  shown->close();
  EXPECT_EQ(window.OpenDirectoriesWindow(), nullptr);
  window.ShowDirectories();
  EXPECT_EQ(window.OpenDirectoriesWindow(), shown);
  EXPECT_EQ(text->toPlainText(), "0: C:\\a\n1: \n");
}

}  // namespace
}  // namespace vmu
