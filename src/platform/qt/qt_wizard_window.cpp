#include "platform/qt/qt_wizard_window.h"

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
#include <QVBoxLayout>
#include <algorithm>

#include "platform/error.h"
#include "platform/program_end.h"
#include "platform/qt/qt_directories_window.h"
#include "platform/qt/qt_event_guard.h"
#include "platform/qt/qt_file_filter.h"
#include "platform/qt/qt_info_window.h"
#include "platform/qt/qt_notice_window.h"
#include "platform/qt/wizard_picture.h"
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

// A button shows "&" as it stands, not as a shortcut marker.
QString ButtonText(const std::string& text) { return DisplayText(text).replace("&", "&&"); }

QWidget* DialogParent(QWidget* window) { return window->isVisible() ? window : nullptr; }

}  // namespace

QtWizardWindow::QtWizardWindow(FileSystem& fs, QWidget* parent) : QWidget(parent), fs_(fs) {
  setWindowTitle(QString::fromUtf8(kWizardCaption));
  BuildControls();
  ApplyDesign();
  BuildLayout();
  setFixedSize(kWindowSize);
  // Enter goes to "Volgende >>" until the user moves the focus elsewhere.
  Widget(Control::CmdWizard_1)->setFocus();
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
        auto* picture = new QLabel(this);
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

  // Long texts and paths are wrapped or clipped inside the fixed window,
  // never allowed to push the other controls aside.
  auto* main_text = static_cast<QLabel*>(Widget(Control::Label1_1));
  main_text->setWordWrap(true);
  main_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  Widget(Control::Label1_2)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  Widget(Control::Label3)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  static_cast<QLabel*>(Widget(Control::Label4))->setAlignment(Qt::AlignRight | Qt::AlignBottom);
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
  const QSize picture_size(column, column * 200 / 170);
  auto* picture = static_cast<QLabel*>(Widget(Control::Image1));
  picture->setPixmap(WizardPicture(picture_size));
  picture->setFixedSize(picture_size);

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
      right->addWidget(Widget(line.front()), Stretch(line.front()));
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

  setTabOrder(Widget(Control::CmdWizard_1), Widget(Control::CmdWizard_0));
  setTabOrder(Widget(Control::CmdWizard_0), Widget(Control::CancelButton));
  setTabOrder(Widget(Control::CancelButton), Widget(Control::cmdTurnBack));
  setTabOrder(Widget(Control::cmdTurnBack), Widget(Control::cmdOpenLocation));
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
    static_cast<QPushButton*>(Widget(c))->setText(ButtonText(text));
  }
}

void QtWizardWindow::SetEnabled(Control c, bool enabled) { Widget(c)->setEnabled(enabled); }

void QtWizardWindow::SetVisible(Control c, bool visible) { Widget(c)->setVisible(visible); }

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
  QMessageBox box(DialogParent(this));
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
    yes->setText("Ja");
    no->setText("Nee");
    box.setDefaultButton(request.default_button == 2 ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
  }
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  box.exec();
  return Answer::Ok;
}

std::string QtWizardWindow::ShowOpenFile(const FileDialogSpec& request) {
  QFileDialog dialog(DialogParent(this), QString::fromStdString(request.title));
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
  if (dialog.exec() != QDialog::Accepted) return {};
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
  info.CentreOnScreen();
  info.exec();
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
