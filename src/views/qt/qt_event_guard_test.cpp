#include "views/qt/qt_event_guard.h"

#include <gtest/gtest.h>

#include <QMessageBox>
#include <stdexcept>

#include "platform/error.h"
#include "platform/program_end.h"
#include "views/qt/qt_test_app.h"

namespace vmu {
namespace {

TEST(RunGuarded, ShowsErrorsAndKeepsRunningAndRemembersTheProgramsEnd) {
  testing::EnsureQtApp();
  EXPECT_TRUE(RunGuarded([] {}));

  for (bool vb_error : {true, false}) {
    testing::WhenModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), "VM_Update");
      EXPECT_EQ(box->text(), vb_error ? "File not found" : "kapot");
      box->accept();
    });
    EXPECT_FALSE(RunGuarded([&] {
      if (vb_error) throw VbError(53);
      throw std::runtime_error("kapot");
    }));
  }
  EXPECT_FALSE(RunGuarded([] { throw ProgramEnded{}; }));
  EXPECT_TRUE(ProgramHasEnded());
}

}  // namespace
}  // namespace vmu
