#include "views/qt/qt_wizard_window.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QFileDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <vector>

#include "platform/program_end.h"
#include "testing/temp_dir.h"
#include "testing/test_prefix.h"
#include "views/qt/qt_notice_window.h"
#include "views/qt/qt_test_app.h"
#include "wizard/window_layout.h"

namespace vmu {
namespace {

struct RecordingEvents : WizardEvents {
  void Clicked(Control c) override {
    clicks.push_back(c);
    if (on_click) on_click(c);
  }
  std::function<void(Control)> on_click;
  void DoubleClicked(Control c) override { double_clicks.push_back(c); }
  void DirectoriesCommand1Clicked() override { ++command1_presses; }
  bool CloseRequested() override {
    ++close_questions;
    return allow_close;
  }
  std::vector<Control> clicks;
  std::vector<Control> double_clicks;
  int close_questions = 0;
  int command1_presses = 0;
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

// The rest of what Inspect reads back is compared with the headless view's
// in offscreen_gui_test.
TEST_F(QtWizardWindowTest, WidgetsShowTextsAsWindowsWouldAndTheLogicReadsBackItsOwn) {
  const std::string folders = "C:\\Program Files\\velmora\\\r\nC:\\Data & Co\\";
  window->SetText(Control::Label1_2, folders);
  window->SetText(Control::cmdTurnBack, "A & B");
  EXPECT_EQ(window->Text(Control::Label1_2), folders);
  EXPECT_EQ(Find<QLabel>(Control::Label1_2)->text(), "C:\\Program Files\\velmora\\\nC:\\Data & Co\\");
  // "A" is the cancel button's mnemonic: "B" is this one's.
  EXPECT_EQ(Find<QPushButton>(Control::cmdTurnBack)->text(), "A && &B");
  // An error page: no session in offscreen_gui_test turns a text red.
  window->SetBold(Control::Label1_1, true);
  window->SetColor(Control::Label1_1, TextColor::Red);
  EXPECT_TRUE(window->Inspect(Control::Label1_1).bold);
  EXPECT_EQ(window->Inspect(Control::Label1_1).color, TextColor::Red);
  window->SetProgressValue(3);
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

  // A button with the focus takes Enter itself; Escape is still "Annuleren".
  window->SetEnabled(Control::CmdWizard_1, true);
  window->SetVisible(Control::CancelButton, true);
  Find<QPushButton>(Control::cmdTurnBack)->setFocus();
  Key(Qt::Key_Return);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(Find<QWidget>(Control::cmdTurnBack), &escape);
  EXPECT_EQ(events.clicks, (std::vector<Control>{Control::cmdTurnBack, Control::CancelButton}));

  // A press of any button reaches the logic: the focus test's.
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
  QCoreApplication::sendEvent(Find<QWidget>(Control::Image1), &dbl);
  EXPECT_EQ(events.double_clicks, std::vector<Control>{Control::Image1});
}

TEST_F(QtWizardWindowTest, TabFollowsTheReadingOrderEnterTheDefaultButtonAndEachButtonHasItsMnemonic) {
  std::vector<QWidget*> expected;
  for (Control c : {Control::cmdTurnBack, Control::cmdOpenLocation, Control::cmdOpenDirectories,
                    Control::CmdCompareTables, Control::CmdStartApp}) {
    expected.push_back(Find<QWidget>(c));
  }
  expected.push_back(window->findChild<QScrollArea*>());  // the page's text, to scroll it
  for (Control c : {Control::CancelButton, Control::CmdWizard_0, Control::CmdWizard_1}) {
    expected.push_back(Find<QWidget>(c));
  }
  std::vector<QWidget*> chain;
  QWidget* w = expected.front();
  do {
    if (std::find(expected.begin(), expected.end(), w) != expected.end()) chain.push_back(w);
    w = w->nextInFocusChain();
  } while (w != expected.front() && chain.size() <= expected.size());
  EXPECT_EQ(chain, expected);

  // "Volgende >>" is the default button on every page; the others do not
  // take Enter for themselves unless they have the focus. Which letter each
  // caption takes is button_mnemonics_test's; here the result page's caption
  // gets its own, the others keep theirs, and the logic reads back exactly
  // what it set.
  window->SetText(Control::CmdWizard_1, "Stoppen");
  EXPECT_EQ(window->Text(Control::CmdWizard_1), "Stoppen");
  EXPECT_EQ(Find<QPushButton>(Control::CmdWizard_1)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_S));
  EXPECT_EQ(Find<QPushButton>(Control::CancelButton)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_A));
  std::vector<QKeySequence> seen;
  for (const ControlInfo& info : kControls) {
    if (info.kind != ControlKind::Button) continue;
    auto* button = Find<QPushButton>(info.control);
    EXPECT_EQ(button->isDefault(), info.control == Control::CmdWizard_1) << info.name;
    EXPECT_FALSE(button->autoDefault()) << info.name;
    EXPECT_FALSE(button->shortcut().isEmpty()) << info.name;
    EXPECT_EQ(std::count(seen.begin(), seen.end(), button->shortcut()), 0) << info.name;
    seen.push_back(button->shortcut());
  }
  EXPECT_EQ(window->focusWidget(), Find<QWidget>(Control::CmdWizard_1));

  // The page's text shows when it has the focus.
  window->show();
  window->activateWindow();
  QCoreApplication::processEvents();
  QWidget* page = window->findChild<QScrollArea*>();
  const QImage unfocused = page->grab().toImage();
  page->setFocus();
  ASSERT_TRUE(page->hasFocus());
  EXPECT_NE(page->grab().toImage(), unfocused);
}

TEST_F(QtWizardWindowTest, FocusReturnsToTheDefaultButtonAfterEveryPressAndDialog) {
  QWidget* next = Find<QWidget>(Control::CmdWizard_1);
  auto elsewhere = [&] { Find<QWidget>(Control::cmdOpenLocation)->setFocus(); };

  // "Open andere programma map": a file dialog, cancelled, and a message.
  events.on_click = [&](Control c) {
    if (c != Control::cmdOpenLocation) return;
    testing::WhenModal([](QWidget* w) { static_cast<QFileDialog*>(w)->reject(); });
    EXPECT_EQ(window->ShowOpenFile(FileDialogSpec{"Kies", "VM.EXE|VM.EXE", "", ""}), "");
    EXPECT_EQ(window->focusWidget(), next) << "after the file dialog";
    elsewhere();
    testing::WhenModal([](QWidget* w) { w->close(); });
    window->ShowMessage(MessageBoxSpec{"Niet gevonden"});
    EXPECT_EQ(window->focusWidget(), next) << "after the message";
    elsewhere();
  };
  elsewhere();
  Find<QPushButton>(Control::cmdOpenLocation)->click();
  EXPECT_EQ(events.clicks, std::vector<Control>{Control::cmdOpenLocation});
  EXPECT_EQ(window->focusWidget(), next) << "after the press";

  // The folder information window, modal until OK with the folder read-only,
  // and a close box answered No.
  elsewhere();
  testing::WhenModal([&](QWidget* modal) {
    auto* field = modal->findChild<QLineEdit*>("Text1");
    EXPECT_EQ(modal->windowTitle(), "Titel");
    EXPECT_EQ(modal->findChild<QLabel*>("Label1")->text(), "Deze applicatie draait in:");
    EXPECT_EQ(field->text(), "C:\\map");
    EXPECT_TRUE(field->isReadOnly());
    // Read-only looks like the window, not like a field to type in.
    EXPECT_EQ(field->palette().color(QPalette::Base), field->palette().color(QPalette::Button));
    modal->findChild<QPushButton*>("CmdButton")->click();
  });
  window->ShowInfo("Titel", "Deze applicatie draait in:", "C:\\map");  // returns once OK is pressed
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(window->OpenInfoWindow(), nullptr);
  EXPECT_EQ(window->focusWidget(), next);
  elsewhere();
  EXPECT_FALSE(window->close());
  EXPECT_EQ(window->focusWidget(), next);

  // While "Volgende >>" is out of reach the focus waits on the window, so
  // that Enter presses nothing; it comes back with the button.
  window->SetEnabled(Control::CmdWizard_1, false);
  EXPECT_EQ(qobject_cast<QPushButton*>(window->focusWidget()), nullptr);
  window->SetEnabled(Control::CmdWizard_1, true);
  EXPECT_EQ(window->focusWidget(), next);
  window->SetVisible(Control::CmdWizard_1, false);
  window->SetVisible(Control::CmdWizard_1, true);
  EXPECT_EQ(window->focusWidget(), next);
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
  testing::WhenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Terugdraaien update");
    EXPECT_EQ(box->text(), "Eerste regel\n\nDoorgaan?");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->defaultButton()->text(), "&Nee");
    EXPECT_EQ(box->button(QMessageBox::No)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_N));
    QKeyEvent j(QEvent::KeyPress, Qt::Key_J, Qt::NoModifier, "j");
    QCoreApplication::sendEvent(box, &j);
  });
  EXPECT_EQ(window->ShowMessage(ask), Answer::Yes);

  // Closing a Yes/No box answers No; a plain box has OK only.
  testing::WhenModal([](QWidget* w) { w->close(); });
  EXPECT_EQ(window->ShowMessage(ask), Answer::No);
  testing::WhenModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    EXPECT_EQ(box->buttons().size(), 1);
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(window->ShowMessage(MessageBoxSpec{"Klaar"}), Answer::Ok);
}

TEST_F(QtWizardWindowTest, FileDialogOpensInTheFolderAndReturnsAWindowsPath) {
  prefix.Write("C:\\Pakket\\upd.vmu", "MZ");
  FileDialogSpec request{"Open de update file", "Velmora update files (*.VMU)|*.VMU", "C:\\pakket\\", ""};
  testing::WhenModal([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Open de update file");
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), prefix.Host("C:\\Pakket"));
    EXPECT_EQ(dialog->nameFilters(), QStringList{"Velmora update files (*.VMU)"});
    EXPECT_FALSE(dialog->filter().testFlag(QDir::CaseSensitive));
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

  // Cancelled; a folder that maps nowhere is no reason to fail.
  request.folder = "\\\\server\\share\\";
  testing::WhenModal([](QWidget* w) { static_cast<QFileDialog*>(w)->reject(); });
  EXPECT_EQ(window->ShowOpenFile(request), "");
}

TEST_F(QtWizardWindowTest, DirectoriesWindowIsMadeOnceAndReportsCommand1) {
  window->SetDirectoriesText("ignored");  // no window yet: nothing to fill
  EXPECT_EQ(window->OpenDirectoriesWindow(), nullptr);
  window->ShowDirectories();
  QWidget* shown = window->OpenDirectoriesWindow();
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->isWindow());
  auto* text = shown->findChild<QPlainTextEdit*>("txtDirectory");
  shown->findChild<QPushButton*>("Command1")->click();
  EXPECT_EQ(events.command1_presses, 1);
  window->SetDirectoriesText("0: C:\\a\r\n1: \r\n");
  EXPECT_EQ(text->toPlainText(), "0: C:\\a\n1: \n");

  // Closed by the user and opened again: the same window, as it was left.
  shown->close();
  EXPECT_EQ(window->OpenDirectoriesWindow(), nullptr);
  window->ShowDirectories();
  EXPECT_EQ(window->OpenDirectoriesWindow(), shown);
  EXPECT_EQ(text->toPlainText(), "0: C:\\a\n1: \n");
}

TEST_F(QtWizardWindowTest, EachNoticeIsUntitledAndBoldInAFreshWindowUntilItClosesItself) {
  window->CreateNotice();
  testing::WhenModal([&](QWidget* modal) {
    auto* label = modal->findChild<QLabel*>("Label1");
    EXPECT_EQ(label->text(), "Facturen\n\n0 records");
    EXPECT_TRUE(!(modal->windowFlags() & Qt::WindowTitleHint) && modal->windowTitle().isEmpty());
    EXPECT_TRUE(label->font().bold());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
  });
  window->ShowNotice("Facturen\r\n\r\n0 records");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<QtNoticeWindow*>(w), nullptr);
}

}  // namespace
}  // namespace vmu

namespace vmu {
namespace {

// Every control the window shows lies inside the screen's free area, not on
// top of another, and not squeezed below the height its text needs.
void ExpectEveryControlOnScreen(QtWizardWindow& window, const std::string& when) {
  window.layout()->activate();
  QCoreApplication::processEvents();
  const QRect screen = window.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(window.frameGeometry())) << when;
  std::vector<std::pair<std::string_view, QRect>> shown;
  for (const ControlInfo& info : kControls) {
    if (!window.Visible(info.control)) continue;
    QWidget* w = window.findChild<QWidget*>(QString::fromUtf8(info.name.data(), info.name.size()));
    // The page's text scrolls inside its area.
    if (info.control == Control::Label1_1) w = window.findChild<QScrollArea*>();
    const QRect box(w->mapToGlobal(QPoint(0, 0)), w->size());
    EXPECT_TRUE(screen.contains(box)) << when << ": " << info.name;
    EXPECT_TRUE(window.rect().contains(QRect(w->mapTo(&window, QPoint(0, 0)), w->size()))) << when << info.name;
    if (info.kind == ControlKind::Button) {
      EXPECT_GE(w->height(), w->sizeHint().height()) << when << info.name;
    }
    for (const auto& [name, other] : shown) EXPECT_FALSE(box.intersects(other)) << when << info.name << name;
    shown.emplace_back(info.name, box);
  }
}

// Run in a process of its own (Qt takes the scale and the screen when it
// starts): the test starts itself once for each scale.
TEST(QtWizardWindowOnScreen, EveryControlIsReachableOnA1280x800ScreenAtScale1And2) {
  const char* child = getenv("VMU_SCREEN_SCALE");
  if (!child) {
    testing::TempDir dir;
    testing::WriteHostFile(dir.Sub("screen.json"),
                           R"({"screens": [{"name": "s", "x": 0, "y": 0, "width": 1280, "height": 800}]})");
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    for (const std::string scale : {"1", "2"}) {
      const std::string command = "VMU_SCREEN_SCALE=" + scale + " QT_SCALE_FACTOR=" + scale +
                                  " QT_QPA_PLATFORM=offscreen:configfile=" + dir.Sub("screen.json") +
                                  " VMU_SCREEN_SHOTS=" + dir.path() + " " + self +
                                  " --gtest_filter=QtWizardWindowOnScreen.* 2>&1";
      std::string out;
      FILE* pipe = popen(command.c_str(), "r");
      for (int ch; (ch = fgetc(pipe)) != EOF;) out += static_cast<char>(ch);
      EXPECT_TRUE(pclose(pipe) == 0 && out.find("[  PASSED  ] 1 test") != std::string::npos) << scale << out;
    }
    return;
  }

  testing::EnsureQtApp();
  const int scale = std::atoi(child);
  ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size() * scale, QSize(1280, 800));
  vmu::testing::TestPrefix prefix;
  QtWizardWindow window(prefix.fs());
  window.ShowWindow();
  QCoreApplication::processEvents();
  // The designed size where it fits is offscreen_gui_test's picture.
  ExpectEveryControlOnScreen(window, "at start");

  // Everything a maintenance session may show at once, with a page text far
  // longer than the window: it scrolls.
  for (Control c : {Control::cmdOpenDirectories, Control::CmdCompareTables, Control::CmdStartApp, Control::Pbr}) {
    window.SetVisible(c, true);
  }
  std::string text;
  for (int i = 1; i <= 40; ++i) text += "Tabel " + std::to_string(i) + " overgezet\r\n";
  window.SetText(Control::Label1_1, text);
  window.SetText(Control::Label1_2,
                 "C:\\Program Files (x86)\\velmora\\\r\nC:\\users\\anna\\AppData\\Roaming\\velmora\\");
  window.SetText(Control::CmdWizard_1, "Stoppen");
  ExpectEveryControlOnScreen(window, "all shown");
  EXPECT_GT(window.findChild<QScrollArea*>()->verticalScrollBar()->maximum(), 0);

  const std::string shot = std::string(getenv("VMU_SCREEN_SHOTS")) + "/scale" + child + ".png";
  ASSERT_TRUE(window.SaveScreenshot(shot));
  const QSize pixels = QImage(QString::fromStdString(shot)).size();
  EXPECT_EQ(pixels, window.size() * scale);  // on the screen, so within 1280 x 800

  // So does every dialog the wizard opens, its buttons included.
  const std::pair<const char*, std::function<void()>> dialogs[] = {
      {"file",
       [&] {
         window.ShowOpenFile(FileDialogSpec{"Open de update file", "Velmora (*.VMU)|*.VMU", "", ""});
       }},
      {"message", [&] { window.ShowMessage(MessageBoxSpec{text}); }},
      {"info", [&] { window.ShowInfo("Directory informatie", "Programma map:", text); }},
  };
  for (const auto& [name, open] : dialogs) {
    testing::WhenModal([&, name = name](QWidget* dialog) {
      const QRect free = dialog->screen()->availableGeometry();
      EXPECT_TRUE(free.contains(dialog->frameGeometry()))
          << name << " at scale " << scale << ": " << dialog->frameGeometry().height() << " in " << free.height();
      for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
        const QRect box(button->mapToGlobal(QPoint()), button->size());
        EXPECT_TRUE(!button->isVisible() || free.contains(box)) << name << ": " << button->text().toStdString();
      }
      dialog->close();
    });
    open();
  }
  window.CloseWindow();
}

}  // namespace
}  // namespace vmu
