// Helpers for the Qt tests: one QApplication for the test program, and a way
// to answer a modal window that a call under test opens.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace vmu::testing {

inline void EnsureQtApp() {
  if (QApplication::instance()) return;
  // An offscreen setting with options (a screen of a given size) is kept.
  if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "qt_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// Runs handle on the modal window once it is open (checked from the modal
// window's own event loop); gives up after a few seconds so that a test fails
// instead of hanging when no window opens.
inline void WhenModal(std::function<void(QWidget*)> handle, int tries = 500) {
  QTimer::singleShot(10, [handle = std::move(handle), tries]() mutable {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      handle(modal);
    } else if (tries > 0) {
      WhenModal(std::move(handle), tries - 1);
    }
  });
}

}  // namespace vmu::testing
