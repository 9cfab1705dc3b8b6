#include "platform/qt/qt_wizard_window.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "platform/program_end.h"
#include "platform/qt/qt_test_app.h"
#include "testing/test_prefix.h"
#include "wizard/window_layout.h"

namespace vmu {
namespace {

struct RecordingEvents : WizardEvents {
  void Clicked(Control c) override { clicks.push_back(c); }
  void DoubleClicked(Control c) override { double_clicks.push_back(c); }
  bool CloseRequested() override {
    ++close_questions;
    return allow_close;
  }
  std::vector<Control> clicks;
  std::vector<Control> double_clicks;
  int close_questions = 0;
  bool allow_close = false;
};

class QtWizardWindowTest : public ::testing::Test {
 protected:
  QtWizardWindowTest() {
    testing::EnsureQtApp();
    window = std::make_unique<QtWizardWindow>(prefix.fs());
    window->SetEvents(&events);
  }
  void Key(int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &press);
  }
  template <typename T>
  T* Find(Control c) {
    const std::string_view name = ControlName(c);
    return window->findChild<T*>(QString::fromUtf8(name.data(), name.size()));
  }

  vmu::testing::TestPrefix prefix;
  RecordingEvents events;
  std::unique_ptr<QtWizardWindow> window;
};

TEST_F(QtWizardWindowTest, InspectShowsWhatTheWidgetsShow) {
  const std::string folders = "C:\\Program Files\\velmora\\\r\nC:\\Data & Co\\";
  window->SetText(Control::Label1_2, folders);
  window->SetText(Control::cmdTurnBack, "A & B");
  window->SetBold(Control::Label1_1, true);
  window->SetColor(Control::Label1_1, TextColor::Red);
  window->SetEnabled(Control::cmdOpenLocation, false);
  window->SetVisible(Control::CancelButton, false);
  window->SetVisible(Control::Pbr, true);
  window->SetProgressMax(5);
  window->SetProgressValue(3);

  // The logic reads back its own text; the widget shows it with line breaks.
  EXPECT_EQ(window->Text(Control::Label1_2), folders);
  EXPECT_EQ(Find<QLabel>(Control::Label1_2)->text(), "C:\\Program Files\\velmora\\\nC:\\Data & Co\\");
  // "A" is the cancel button's mnemonic: "B" is this one's.
  EXPECT_EQ(Find<QPushButton>(Control::cmdTurnBack)->text(), "A && &B");
  const ControlState main_text = window->Inspect(Control::Label1_1);
  EXPECT_TRUE(main_text.bold);
  EXPECT_EQ(main_text.color, TextColor::Red);
  EXPECT_FALSE(window->Inspect(Control::cmdOpenLocation).enabled);
  EXPECT_FALSE(window->Visible(Control::CancelButton));
  const ControlState bar = window->Inspect(Control::Pbr);
  EXPECT_TRUE(bar.visible);
  EXPECT_EQ(bar.max, 5);
  EXPECT_EQ(bar.value, 3);

  window->SetColor(Control::Label1_1, TextColor::Black);
  window->SetBold(Control::Label1_1, false);
  EXPECT_EQ(window->Inspect(Control::Label1_1).color, TextColor::Black);
  EXPECT_FALSE(window->Inspect(Control::Label1_1).bold);
  window->SetProgressMax(2);  // below the value: a number, not Qt's "no value"
  EXPECT_EQ(window->ProgressValue(), 2);
}

TEST_F(QtWizardWindowTest, KeysPressTheDefaultAndCancelButtons) {
  Key(Qt::Key_Return);
  Key(Qt::Key_Enter);
  Key(Qt::Key_Escape);
  EXPECT_EQ(events.clicks, (std::vector<Control>{Control::CmdWizard_1, Control::CmdWizard_1, Control::CancelButton}));

  // Not when the user could not press them.
  events.clicks.clear();
  window->SetEnabled(Control::CmdWizard_1, false);
  window->SetVisible(Control::CancelButton, false);
  Key(Qt::Key_Return);
  Key(Qt::Key_Escape);
  EXPECT_TRUE(events.clicks.empty());

  // A button with the focus takes Enter itself.
  window->SetEnabled(Control::CmdWizard_1, true);
  Find<QPushButton>(Control::cmdTurnBack)->setFocus();
  Key(Qt::Key_Return);
  EXPECT_EQ(events.clicks, std::vector<Control>{Control::cmdTurnBack});

  events.clicks.clear();
  Find<QPushButton>(Control::CmdWizard_0)->setEnabled(true);
  Find<QPushButton>(Control::CmdWizard_0)->click();
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
  QCoreApplication::sendEvent(Find<QWidget>(Control::Image1), &dbl);
  EXPECT_EQ(events.clicks, std::vector<Control>{Control::CmdWizard_0});
  EXPECT_EQ(events.double_clicks, std::vector<Control>{Control::Image1});
}

TEST_F(QtWizardWindowTest, ControlsStandWhereTheTableOfControlsPutsThem) {
  // As a maintenance session shows them: the service buttons and the bar too.
  for (Control c : {Control::cmdOpenDirectories, Control::CmdCompareTables, Control::Pbr}) {
    window->SetVisible(c, true);
  }
  window->show();
  window->layout()->activate();
  auto box = [&](Control c) {
    const QWidget* w = Find<QWidget>(c);
    return QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size());
  };

  // Each line left to right, the lines of an area top to bottom.
  for (Area area : {Area::SideTop, Area::SideBottom, Area::Main, Area::Progress, Area::Bottom}) {
    int above = -1;
    for (const auto& line : LinesOf(area)) {
      int below = above;
      for (size_t i = 0; i < line.size(); ++i) {
        if (!window->Visible(line[i])) continue;
        EXPECT_GT(box(line[i]).top(), above) << ControlName(line[i]);
        if (i > 0) {
          EXPECT_GT(box(line[i]).left(), box(line[i - 1]).right()) << ControlName(line[i]);
        }
        below = std::max(below, box(line[i]).bottom());
      }
      above = below;
    }
  }
  // The side column left of the main one, the bar under both, the bottom row last.
  EXPECT_LT(box(Control::Image1).right(), box(Control::Label1_0).left());
  EXPECT_LT(box(Control::CmdCompareTables).bottom(), box(Control::Pbr).top());
  EXPECT_LT(box(Control::Label4).bottom(), box(Control::Pbr).top());
  EXPECT_LT(box(Control::Pbr).bottom(), box(Control::CancelButton).top());
  // "<< Vorige" stands apart from the cancel button.
  EXPECT_GT(box(Control::CmdWizard_0).left() - box(Control::CancelButton).right(),
            box(Control::CmdWizard_1).left() - box(Control::CmdWizard_0).right());
}

TEST_F(QtWizardWindowTest, CloseBoxAsksTheLogicAndEndProgramDoesNot) {
  EXPECT_EQ(window->windowTitle(), "Installeren updates");
  EXPECT_FALSE(window->close());
  EXPECT_EQ(events.close_questions, 1);
  events.allow_close = true;
  EXPECT_TRUE(window->close());
  EXPECT_EQ(events.close_questions, 2);

  RecordingEvents other;
  QtWizardWindow second(prefix.fs());
  second.SetEvents(&other);
  EXPECT_THROW(second.EndProgram(), ProgramEnded);
  EXPECT_TRUE(second.close());
  second.CloseWindow();
  EXPECT_EQ(other.close_questions, 0);
}

TEST_F(QtWizardWindowTest, MessageBoxesFollowTheirDescription) {
  MessageBoxSpec ask;
  ask.title = "Terugdraaien update";
  ask.text = "Eerste regel\r\n\r\nDoorgaan?";
  ask.buttons = Buttons::YesNo;
  ask.icon = Icon::Exclamation;
  ask.default_button = 2;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString default_text;
  testing::WhenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Terugdraaien update");
    text = box->text();
    icon = box->icon();
    default_text = box->defaultButton()->text();
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(window->ShowMessage(ask), Answer::Yes);
  EXPECT_EQ(text, "Eerste regel\n\nDoorgaan?");
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(default_text, "Nee");

  // Closing a Yes/No box answers No; a plain box has OK only.
  testing::WhenModal([](QWidget* w) { w->close(); });
  EXPECT_EQ(window->ShowMessage(ask), Answer::No);
  int buttons = 0;
  testing::WhenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(window->ShowMessage(MessageBoxSpec{"Klaar"}), Answer::Ok);
  EXPECT_EQ(buttons, 1);
}

TEST_F(QtWizardWindowTest, FileDialogOpensInTheFolderAndReturnsAWindowsPath) {
  prefix.Write("C:\\Pakket\\upd.vmu", "MZ");
  FileDialogSpec request{"Open de update file", "Velmora update files (*.VMU)|*.VMU", "C:\\pakket\\", ""};
  QString folder;
  QStringList filters;
  bool case_sensitive = true;
  testing::WhenModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Open de update file");
    folder = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    case_sensitive = dialog->filter().testFlag(QDir::CaseSensitive);
    // Typed into the name field, as a user would (selectFile leaves a
    // focused field alone).
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(prefix.Host("C:\\Pakket\\upd.vmu")));
    static_cast<QDialog*>(dialog)->accept();
    if (dialog->isVisible()) {
      ADD_FAILURE() << "the dialog did not take the file";
      dialog->reject();
    }
  });
  EXPECT_EQ(window->ShowOpenFile(request), "C:\\Pakket\\upd.vmu");
  EXPECT_EQ(folder.toStdString(), prefix.Host("C:\\Pakket"));
  EXPECT_EQ(filters, QStringList{"Velmora update files (*.VMU)"});
  EXPECT_FALSE(case_sensitive);

  // Cancelled; a folder that maps nowhere is no reason to fail.
  request.folder = "\\\\server\\share\\";
  testing::WhenModal([](QWidget* w) { static_cast<QFileDialog*>(w)->reject(); });
  EXPECT_EQ(window->ShowOpenFile(request), "");
}

}  // namespace
}  // namespace vmu
