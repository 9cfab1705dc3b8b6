#include "views/qt/qt_event_guard.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <stdexcept>

#include "platform/error.h"
#include "platform/program_end.h"
#include "views/qt/qt_test_app.h"

namespace vmu {
namespace {

TEST(RunGuarded, ShowsErrorsAndKeepsRunning) {
  testing::EnsureQtApp();
  EXPECT_TRUE(RunGuarded([] {}));

  for (bool vb_error : {true, false}) {
    QString title, text;
    testing::WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      title = box->windowTitle();
      text = box->text();
      box->accept();
    });
    EXPECT_FALSE(RunGuarded([&] {
      if (vb_error) throw VbError(53);
      throw std::runtime_error("kapot");
    }));
    EXPECT_EQ(title, "VM_Update");
    EXPECT_EQ(text, vb_error ? "File not found" : "kapot");
  }
}

TEST(RunGuarded, ProgramEndedIsRemembered) {
  testing::EnsureQtApp();
  EXPECT_FALSE(RunGuarded([] { throw ProgramEnded{}; }));
  EXPECT_TRUE(ProgramHasEnded());
}

}  // namespace
}  // namespace vmu
