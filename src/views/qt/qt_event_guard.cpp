#include "views/qt/qt_event_guard.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>
#include <exception>
#include <string>

#include "platform/dialogs.h"
#include "platform/error.h"
#include "platform/program_end.h"
#include "views/qt/screen_bound.h"

namespace vmu {
namespace {

bool program_ended = false;

void ShowError(const std::string& description) {
  QString text = QString::fromStdString(description);
  text.replace("\r\n", "\n");
  ScreenBoundMessageBox box(QApplication::activeWindow());
  box.setIcon(QMessageBox::Critical);
  box.setWindowTitle(QString::fromUtf8(kProgramTitle));
  box.setTextFormat(Qt::PlainText);
  box.setText(text);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

}  // namespace

bool RunGuarded(const std::function<void()>& call) {
  std::string failure;
  try {
    call();
    return true;
  } catch (const ProgramEnded&) {
    NoteProgramEnded();
    return false;
  } catch (const VbError& e) {
    failure = e.description();
  } catch (const std::exception& e) {
    failure = e.what();
  } catch (...) {
    failure = "Onbekende fout";
  }
  // Shown outside the handlers, so that an error while showing it cannot
  // escape either.
  try {
    ShowError(failure);
  } catch (...) {
  }
  return false;
}

void NoteProgramEnded() {
  program_ended = true;
  // Only a running loop can be left; exit() without one would make the next
  // loop (a modal box, or main's exec) return at once.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
}

bool ProgramHasEnded() { return program_ended; }

}  // namespace vmu
