#include "views/qt/qt_wizard_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "platform/error.h"
#include "platform/program_end.h"
#include "views/qt/button_mnemonics.h"
#include "views/qt/picture_widget.h"
#include "views/qt/qt_directories_window.h"
#include "views/qt/qt_event_guard.h"
#include "views/qt/qt_file_filter.h"
#include "views/qt/qt_info_window.h"
#include "views/qt/qt_notice_window.h"
#include "views/qt/screen_bound.h"
#include "views/qt/wizard_picture.h"
#include "wizard/window_design.h"
#include "wizard/window_layout.h"

namespace vmu {
namespace {

const QColor kRed(0xc0, 0x00, 0x00);
constexpr QSize kWindowSize(640, 460);
constexpr int kColumnWidth = 180;  // the left column, at least

int Index(Control c) { return static_cast<int>(c); }

bool IsLabel(Control c) { return Info(c).kind == ControlKind::Label; }
bool IsButton(Control c) { return Info(c).kind == ControlKind::Button; }

int Stretch(Control c) { return Info(c).place.fills ? 1 : 0; }

// The logic writes line breaks as CR LF.
QString DisplayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  return shown;
}

// The buttons in the order in which they choose their mnemonic, each with
// the letter it would like: the wizard's own buttons first, so that theirs
// stay the same whatever the others say.
struct ButtonKey {
  Control control;
  char preferred;
};
constexpr ButtonKey kButtonKeys[] = {
    {Control::CmdWizard_1, 'V'},    {Control::CancelButton, 'A'},    {Control::CmdWizard_0, 'R'},
    {Control::cmdTurnBack, 'T'},    {Control::cmdOpenLocation, 'O'}, {Control::cmdOpenDirectories, 'D'},
    {Control::CmdCompareTables, 0}, {Control::CmdStartApp, 0},       {Control::cmdSearchUpdate, 'Z'},
};

QWidget* DialogParent(QWidget* window) { return window->isVisible() ? window : nullptr; }

}  // namespace

QtWizardWindow::QtWizardWindow(FileSystem& fs, QWidget* parent) : QWidget(parent), fs_(fs) {
  setWindowTitle(QString::fromUtf8(kWizardCaption));
  BuildControls();
  ApplyDesign();
  BuildLayout();
  // The designed size; showEvent fits it to a smaller screen.
  resize(kWindowSize);
  FocusDefaultButton();
}

QWidget* QtWizardWindow::Widget(Control c) const { return widgets_[Index(c)]; }

void QtWizardWindow::BuildControls() {
  for (const ControlInfo& info : kControls) {
    const Control c = info.control;
    QWidget*& widget = widgets_[Index(c)];
    switch (info.kind) {
      case ControlKind::Label: {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
      }
      case ControlKind::Button: {
        auto* button = new QPushButton(this);
        // Enter goes to the default button unless the user tabs to another.
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
        connect(button, &QPushButton::clicked, this, [this, c] { Click(c); });
        widget = button;
        break;
      }
      case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(this);
        bar->setTextVisible(false);
        bar->setFixedHeight(16);
        widget = bar;
        break;
      }
      case ControlKind::Picture: {
        auto* picture = new PictureWidget(WizardPicture, this);
        picture->installEventFilter(this);
        widget = picture;
        break;
      }
    }
    widget->setObjectName(QString::fromUtf8(info.name.data(), info.name.size()));
  }

  auto* title = static_cast<QLabel*>(Widget(Control::Label1_0));
  QFont title_font = title->font();
  title_font.setPointSizeF(title_font.pointSizeF() * 1.4);
  title->setFont(title_font);

  // Long texts and paths are wrapped, scrolled or clipped inside the window,
  // never allowed to push the other controls aside.
  static_cast<QLabel*>(Widget(Control::Label1_1))->setWordWrap(true);
  Widget(Control::Label1_2)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  Widget(Control::Label3)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  static_cast<QLabel*>(Widget(Control::Label4))->setAlignment(Qt::AlignRight | Qt::AlignBottom);
  static_cast<QPushButton*>(Widget(Control::CmdWizard_1))->setDefault(true);
  for (Control c : {Control::Label2, Control::Label3}) {
    static_cast<QLabel*>(Widget(c))->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
}

void QtWizardWindow::BuildLayout() {
  // The left column is as wide as the widest caption shown at the start
  // needs in the font at hand; the service buttons' long captions are
  // clipped rather than widen it. The picture takes the same width.
  int column = kColumnWidth;
  for (const ControlInfo& info : kControls) {
    if (info.place.area == Area::SideBottom && info.start.visible) {
      column = std::max(column, Widget(info.control)->sizeHint().width());
    }
  }
  static_cast<PictureWidget*>(Widget(Control::Image1))->SetDesignedSize(QSize(column, column * 200 / 170));

  auto* left = new QVBoxLayout;
  left->setSpacing(6);
  for (const auto& line : LinesOf(Area::SideTop)) {
    for (Control c : line) left->addWidget(Widget(c));
  }
  left->addStretch(1);
  for (const auto& line : LinesOf(Area::SideBottom)) {
    for (Control c : line) {
      Widget(c)->setFixedWidth(column);
      left->addWidget(Widget(c));
    }
  }

  auto* right = new QVBoxLayout;
  right->setSpacing(10);
  for (const auto& line : LinesOf(Area::Main)) {
    if (line.size() == 1) {
      right->addWidget(Placed(line.front()), Stretch(line.front()));
      continue;
    }
    // Controls side by side, such as each folder beside its name.
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    for (Control c : line) row->addWidget(Widget(c), Stretch(c));
    right->addLayout(row);
  }

  auto* top = new QHBoxLayout;
  top->setSpacing(18);
  top->addLayout(left);
  top->addLayout(right, 1);

  auto* line = new QFrame(this);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(8);
  for (const auto& row : LinesOf(Area::Bottom)) {
    for (Control c : row) {
      if (Info(c).place.apart) bottom->addSpacing(10);
      bottom->addWidget(Widget(c), Stretch(c));
    }
  }

  auto* root = new QVBoxLayout(this);
  root->setContentsMargins(14, 14, 14, 12);
  root->setSpacing(10);
  root->addLayout(top, 1);
  for (const auto& progress : LinesOf(Area::Progress)) {
    for (Control c : progress) root->addWidget(Widget(c));
  }
  root->addWidget(line);
  root->addLayout(bottom);

  // Tab goes through the controls that take the focus in reading order.
  QWidget* previous = nullptr;
  for (Control c : ReadingOrder()) {
    QWidget* w = Placed(c);
    if (w->focusPolicy() == Qt::NoFocus) continue;
    if (previous) setTabOrder(previous, w);
    previous = w;
  }
}

QWidget* QtWizardWindow::Placed(Control c) {
  if (c != Control::Label1_1) return Widget(c);
  // The page's text scrolls when it needs more room than the window has.
  if (!main_text_area_) {
    main_text_area_ = new QScrollArea(this);
    main_text_area_->setObjectName("Label1(1)-area");
    main_text_area_->setFrameShape(QFrame::NoFrame);
    main_text_area_->setWidgetResizable(true);
    main_text_area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    main_text_area_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    main_text_area_->setMinimumHeight(3 * fontMetrics().lineSpacing());
    // Reachable from the keyboard, for reading a long text to its end.
    main_text_area_->setFocusPolicy(Qt::StrongFocus);
    // A frame-less area shows no focus of its own: a dotted border does, in
    // a place kept free for it so that nothing moves.
    main_text_area_->setStyleSheet(
        "QScrollArea { border: 1px solid transparent; }"
        "QScrollArea:focus { border: 1px dotted palette(highlight); }");
    main_text_area_->setWidget(Widget(c));
    main_text_area_->viewport()->setAutoFillBackground(false);
    Widget(c)->setAutoFillBackground(false);
  }
  return main_text_area_;
}

void QtWizardWindow::ApplyDesign() {
  for (const ControlInfo& info : kControls) {
    const Control c = info.control;
    const ControlState s = DesignState(c);
    SetText(c, s.text);
    SetBold(c, s.bold);
    SetColor(c, s.color);
    SetEnabled(c, s.enabled);
    SetVisible(c, s.visible);
    if (info.kind == ControlKind::ProgressBar) {
      SetProgressMax(s.max);
      SetProgressValue(s.value);
    }
  }
}

void QtWizardWindow::SetText(Control c, const std::string& text) {
  state_[Index(c)].text = text;
  if (IsLabel(c)) {
    static_cast<QLabel*>(Widget(c))->setText(DisplayText(text));
  } else if (IsButton(c)) {
    ShowCaptions();
  }
}

void QtWizardWindow::ShowCaptions() {
  std::vector<Control> order;
  for (const ButtonKey& key : kButtonKeys) order.push_back(key.control);
  std::vector<MnemonicRequest> requests;
  for (const ButtonKey& key : kButtonKeys) requests.push_back({state_[Index(key.control)].text, key.preferred});
  // A button the list above does not know yet still gets a free letter.
  for (const ControlInfo& info : kControls) {
    if (IsButton(info.control) && std::find(order.begin(), order.end(), info.control) == order.end()) {
      order.push_back(info.control);
      requests.push_back({state_[Index(info.control)].text});
    }
  }
  const std::vector<std::string> shown = WithMnemonics(requests);
  for (size_t i = 0; i < order.size(); ++i) {
    static_cast<QPushButton*>(Widget(order[i]))->setText(DisplayText(shown[i]));
  }
}

void QtWizardWindow::FocusDefaultButton() {
  // Enter then goes to "Volgende >>" and never repeats what the user did
  // last; while that button is out of reach, Enter does nothing.
  QWidget* next = Widget(Control::CmdWizard_1);
  if (next->isEnabled() && !next->isHidden()) next->setFocus(Qt::OtherFocusReason);
  else setFocus(Qt::OtherFocusReason);
}

void QtWizardWindow::SetEnabled(Control c, bool enabled) {
  const bool had_focus = focusWidget() == Widget(c);
  Widget(c)->setEnabled(enabled);
  KeepFocusOnDefault(c, had_focus);
}

void QtWizardWindow::SetVisible(Control c, bool visible) {
  const bool had_focus = focusWidget() == Widget(c);
  Widget(c)->setVisible(visible);
  KeepFocusOnDefault(c, had_focus);
}

void QtWizardWindow::KeepFocusOnDefault(Control c, bool had_focus) {
  if (c != Control::CmdWizard_1) return;
  // Qt would pass the focus on to the next button in the Tab order, where
  // Enter would press it; the focus waits on the window instead, and comes
  // back when "Volgende >>" does.
  const QWidget* holder = focusWidget();
  if (had_focus || holder == nullptr || holder == this) FocusDefaultButton();
}

void QtWizardWindow::SetBold(Control c, bool bold) {
  QFont font = Widget(c)->font();
  font.setBold(bold);
  Widget(c)->setFont(font);
}

void QtWizardWindow::SetColor(Control c, TextColor color) {
  if (color == TextColor::Red) {
    QPalette palette;
    palette.setColor(QPalette::WindowText, kRed);
    palette.setColor(QPalette::ButtonText, kRed);
    Widget(c)->setPalette(palette);
  } else {
    // An empty palette sets no role: the widget shows the usual colours.
    Widget(c)->setPalette(QPalette());
  }
}

void QtWizardWindow::SetProgressMax(int max) {
  auto* bar = static_cast<QProgressBar*>(Widget(Control::Pbr));
  const int value = bar->value();
  bar->setMaximum(max);
  // Qt resets a value outside the new range to "no value"; keep a number.
  if (bar->value() < bar->minimum()) bar->setValue(std::clamp(value, bar->minimum(), max));
}

void QtWizardWindow::SetProgressValue(int value) {
  auto* bar = static_cast<QProgressBar*>(Widget(Control::Pbr));
  bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

void QtWizardWindow::Redraw() {
  if (layout()) layout()->activate();
  if (isVisible()) repaint();
  // Paint and layout events only; a close request that arrives meanwhile is
  // refused (closeEvent), since the logic is in the middle of its work.
  redrawing_ = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  redrawing_ = false;
}

void QtWizardWindow::ShowWindow() {
  show();
  FocusDefaultButton();
  // The offscreen platform has no window stack to raise in (and says so).
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    raise();
    activateWindow();
  }
}

void QtWizardWindow::CloseWindow() {
  ending_ = true;
  close();
}

void QtWizardWindow::EndProgram() {
  ending_ = true;
  hide();
  throw ProgramEnded{};
}

ControlState QtWizardWindow::Inspect(Control c) {
  const QWidget* w = Widget(c);
  ControlState s;
  s.text = state_[Index(c)].text;
  s.enabled = w->isEnabled();
  // The window itself may not be shown yet: what counts is the control's own flag.
  s.visible = !w->isHidden();
  s.bold = w->font().bold();
  const QPalette& palette = w->palette();
  s.color =
      (palette.color(QPalette::WindowText) == kRed || (IsButton(c) && palette.color(QPalette::ButtonText) == kRed))
          ? TextColor::Red
          : TextColor::Black;
  if (Info(c).kind == ControlKind::ProgressBar) {
    const auto* bar = static_cast<const QProgressBar*>(w);
    s.max = bar->maximum();
    s.value = bar->value();
  }
  return s;
}

Answer QtWizardWindow::ShowMessage(const MessageBoxSpec& request) {
  ScreenBoundMessageBox box(DialogParent(this));
  box.setWindowTitle(QString::fromStdString(request.title));
  box.setTextFormat(Qt::PlainText);
  box.setText(DisplayText(request.text));
  switch (request.icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
  }
  if (request.buttons == Buttons::YesNo) {
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    // J and N answer, with or without Alt, as on Windows.
    yes->setText("&Ja");
    no->setText("&Nee");
    box.setDefaultButton(request.default_button == 2 ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    FocusDefaultButton();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
  }
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  FocusDefaultButton();
  return Answer::Ok;
}

std::string QtWizardWindow::ShowOpenFile(const FileDialogSpec& request) {
  QFileDialog dialog(DialogParent(this), QString::fromStdString(request.title));
  KeepOnScreen(&dialog);
  // Qt's own dialog, so that the patterns match without regard to case
  // (*.VMU shows upd.vmu too), as the Windows dialog does.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList filters = QtNameFilters(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  if (!request.folder.empty()) {
    try {
      const QString host = QString::fromStdString(fs_.HostPath(request.folder));
      if (QFileInfo(host).isDir()) dialog.setDirectory(host);
    } catch (const VbError&) {
      // A folder that maps nowhere: the dialog opens where it likes.
    }
  }
  if (!request.file.empty()) dialog.selectFile(QString::fromStdString(request.file));
  const int result = dialog.exec();
  FocusDefaultButton();
  if (result != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return {};
  return fs_.WindowsPath(chosen.first().toStdString());
}

bool QtWizardWindow::SaveScreenshot(const std::string& host_png_path) {
  ensurePolished();
  if (layout()) layout()->activate();
  const QPixmap shot = grab();
  return !shot.isNull() && shot.save(QString::fromStdString(host_png_path), "PNG");
}

void QtWizardWindow::closeEvent(QCloseEvent* event) {
  if (!ending_) {
    if (redrawing_) {
      event->ignore();
      return;
    }
    bool may_close = true;
    const bool ran = RunGuarded([&] {
      if (events_) may_close = events_->CloseRequested();
    });
    if (!ran && !ProgramHasEnded()) may_close = false;  // an error: stay open
    if (!may_close) {
      event->ignore();
      FocusDefaultButton();
      return;
    }
    ending_ = true;
  }
  event->accept();
  // The wizard is the program: once it has closed, the program ends.
  NoteProgramEnded();
}

bool QtWizardWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    for (const ControlInfo& info : kControls) {
      if (info.kind != ControlKind::Picture || watched != Widget(info.control)) continue;
      RunGuarded([&] {
        if (events_) events_->DoubleClicked(info.control);
      });
      FocusDefaultButton();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void QtWizardWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // As on Windows: a button that has the focus takes Enter itself;
    // otherwise it goes to the default button, "Volgende >>".
    bool pressed = false;
    for (const ControlInfo& info : kControls) {
      if (info.kind == ControlKind::Button && Widget(info.control) == focusWidget()) {
        pressed = PressIfAvailable(info.control);
        break;
      }
    }
    if (pressed || PressIfAvailable(Control::CmdWizard_1)) {
      event->accept();
      return;
    }
  } else if (key == Qt::Key_Escape) {
    if (PressIfAvailable(Control::CancelButton)) {
      event->accept();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

bool QtWizardWindow::PressIfAvailable(Control c) {
  const QWidget* w = Widget(c);
  if (!w->isEnabled() || w->isHidden()) return false;
  Click(c);
  return true;
}

void QtWizardWindow::Click(Control c) {
  RunGuarded([&] {
    if (events_) events_->Clicked(c);
  });
  // After every press, whatever page it led to.
  FocusDefaultButton();
}

void QtWizardWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!fitted_) FitToScreen();
  fitted_ = true;
}

void QtWizardWindow::FitToScreen() {
  const QScreen* on = screen();
  if (!on) return;
  const QRect room = on->availableGeometry();
  // The window manager's frame; until it is known, room for a title bar.
  QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                 frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
  if (frame.isNull()) frame.setTop(style()->pixelMetric(QStyle::PM_TitleBarHeight));
  const QSize inside = room.size().shrunkBy(frame);
  // As designed where it fits; otherwise as large as the screen allows, with
  // the page's text scrolling and the picture smaller.
  setMinimumSize(minimumSizeHint().boundedTo(inside));
  resize(kWindowSize.boundedTo(inside));
  const QSize outer = size().grownBy(frame);
  const QPoint at(std::clamp(pos().x(), room.left(), std::max(room.left(), room.right() + 1 - outer.width())),
                  std::clamp(pos().y(), room.top(), std::max(room.top(), room.bottom() + 1 - outer.height())));
  if (at != pos()) move(at);
}

}  // namespace vmu

namespace vmu {

// The other windows come with the conversion and the folder windows.
void QtWizardWindow::CreateNotice() { CreateNoticeWindow(DialogParent(this)); }
void QtWizardWindow::ShowNotice(const std::string& text) { ShowNoticeWindow(DialogParent(this), text); }
void QtWizardWindow::ShowInfo(const std::string& title, const std::string& label, const std::string& text) {
  if (info_answered_by_script_) {
    CloseInfoWindow();
    info_window_ = new QtInfoWindow(title, label, text, this);
    info_window_->show();
    info_window_->CentreOnScreen();
    return;
  }
  QtInfoWindow info(title, label, text, DialogParent(this));
  KeepOnScreen(&info);
  info.CentreOnScreen();
  info.exec();
  FocusDefaultButton();
}

void QtWizardWindow::CloseInfoWindow() {
  delete info_window_;
  info_window_ = nullptr;
}

QWidget* QtWizardWindow::OpenInfoWindow() const {
  return info_window_ && info_window_->isVisible() ? info_window_ : nullptr;
}

QWidget* QtWizardWindow::OpenDirectoriesWindow() const {
  return directories_ && directories_->isVisible() ? directories_ : nullptr;
}

void QtWizardWindow::ShowDirectories() {
  if (!directories_) {
    directories_ = new QtDirectoriesWindow(
        [this] {
          RunGuarded([&] {
            if (events_) events_->DirectoriesCommand1Clicked();
          });
        },
        this);
    KeepOnScreen(directories_);
  }
  directories_->show();
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
    directories_->raise();
    directories_->activateWindow();
  }
}

void QtWizardWindow::SetDirectoriesText(const std::string& text) {
  if (directories_) directories_->SetText(text);
}

}  // namespace vmu
