// Vidurara: a ring around the mouse pointer for presentations.
#include "Window1.h"

#include "CircleCommands.h"
#include "Delay.h"
#include "GlobalInput.h"
#include "MagnifyOverlay.h"
#include "Module1.h"
#include "MyThread.h"
#include "PrefsFile.h"
#include "Timer.h"
#include "prefModule.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLayout>
#include <QPushButton>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace {

constexpr int ContentWidth = 100;
constexpr int ContentHeight = 64;

const QString HideCaption = QStringLiteral("Hide");
const QString ShowCaption = QStringLiteral("Show");

void closeOverlay() {
  // Before the first overlay exists there is nothing to close.
  if (Module1::Overlay)
    Module1::Overlay->Close();
}

} // namespace

Window1::Window1() {
  setWindowTitle(QStringLiteral("Vidurara"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

  // The content area is raised to its minimum height so that the button shows.
  auto *content = new QWidget(this);
  content->setFixedSize(ContentWidth, ContentHeight);
  setCentralWidget(content);
  // Not resizable: the window is as large as its content and, once the application
  // has given it one, its menu bar (fitToMenuBar).
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  pushButton1_ = new QPushButton(HideCaption, content);
  pushButton1_->setObjectName(QStringLiteral("PushButton1"));
  pushButton1_->setGeometry(14, 14, 60, 20);
  QFont bold = pushButton1_->font();
  bold.setBold(true);
  pushButton1_->setFont(bold);
  pushButton1_->setAutoDefault(false);
  pushButton1_->setDefault(false);
  connect(pushButton1_, &QPushButton::clicked, this, [this] { PushButton1_Action(pushButton1_); });

  thread1_ = new MyThread(this);
  thread1_->Priority = 5;
  connect(thread1_, &MyThread::Event_Run, this, &Window1::Thread1_Run);

  timer1_ = new Timer(this);
  timer1_->Period(25);
  connect(timer1_, &Timer::Action, this, &Window1::Timer1_Action);
  timer1_->Mode(Timer::ModeMultiple);

  timer2_ = new Timer(this);
  timer2_->Period(1000);
  connect(timer2_, &Timer::Action, this, &Window1::Timer2_Action);

  // Top and Left keep the window's size: lay out first so that it is the final one.
  layout()->activate();
  Event_Open();
}

Window1::~Window1() = default;

std::int32_t Window1::Top() const { return geometry().top(); }
std::int32_t Window1::Left() const { return geometry().left(); }
// A position read from a hand-edited file may be any 32-bit number: window systems
// take 16-bit coordinates, and the window's far edge must not overflow.
static std::int32_t windowCoordinate(std::int32_t v) { return std::clamp(v, -32768, 32767); }

void Window1::Top(std::int32_t top) {
  setGeometry(QRect(QPoint(Left(), windowCoordinate(top)), size()));
}
void Window1::Left(std::int32_t left) {
  setGeometry(QRect(QPoint(windowCoordinate(left), Top()), size()));
}

bool Window1::captionIs(const QString &caption) const {
  return pushButton1_->text().compare(caption, Qt::CaseInsensitive) == 0;
}

// As if the user had clicked the button: its handler runs at once and to completion.
void Window1::push() { PushButton1_Action(pushButton1_); }

void Window1::PushButton1_Action(QPushButton *) {
  if (captionIs(HideCaption)) {
    pushButton1_->setText(ShowCaption);
    closeOverlay();
    thread1_->Kill();
  } else {
    pushButton1_->setText(HideCaption);
    closeOverlay();
    thread1_->Kill();
    thread1_->Run();
  }
}

void Window1::Thread1_Run(MyThread *) {
  // The run begins outside any tick: the pointer of the last one may be stale.
  globalInput().Refresh();
  CircleCommands::NewOverlay();
}

void Window1::Timer1_Action(Timer *) {
  GlobalInput &input = globalInput();
  input.Refresh();
  // Shift is asked for only after Control, resp. Alt, is found down.
  if (input.AsyncControlKey() && input.AsyncShiftKey() && captionIs(ShowCaption))
    push();
  // The first chord may have changed the caption within this tick.
  if (input.AsyncAltKey() && input.AsyncShiftKey() && captionIs(HideCaption))
    push();
  CircleCommands::DrawCircle();
  if (input.MouseDown()) {
    CircleCommands::DrawCircle();
    // The normal ring stays on the screen during the pause.
    Delay(0.1);
    timer2_->Mode(Timer::ModeSingle);
    timer1_->Mode(Timer::ModeOff);
    // The red ring goes where the pointer is now, after the pause.
    input.Refresh();
    if (Module1::Overlay)
      Module1::Overlay->dolt1(prefModule::CircleSize, prefModule::CircleSize);
  }
}

void Window1::Timer2_Action(Timer *) {
  // Frozen tracking sees no click: forget a press made during the flash (the window
  // system remembers quick presses between two queries), so that it brings no second
  // flash. A button still held shows again at the next tick.
  globalInput().ForgetPresses();
  timer1_->Mode(Timer::ModeMultiple);
  if (prefModule::AutoShutOff && captionIs(HideCaption))
    push();
}

void Window1::Event_Open() {
  Top(prefModule::Window1Top);
  Left(prefModule::Window1Left);
  pushButton1_->setText(HideCaption);
  thread1_->Run();
}

void Window1::Event_Restore() {
  if (captionIs(ShowCaption)) {
    closeOverlay();
    thread1_->Kill();
  }
}

void Window1::Event_Close() {
  prefModule::savePrefs();
  QCoreApplication::exit(0);
}

void Window1::closeEvent(QCloseEvent *event) {
  event->accept();
  Event_Close();
}

void Window1::fitToMenuBar() {
  // Wide enough for every menu title of the bar the application gave it, so that none
  // hides in the overflow button.
  const QWidget *bar = menuWidget();
  const int width = std::max(ContentWidth, bar ? bar->sizeHint().width() : 0);
  if (centralWidget()->minimumWidth() != width)
    centralWidget()->setFixedWidth(width);
}

void Window1::setVisible(bool visible) {
  // Before the window is mapped, so that it never shows at a passing size.
  if (visible)
    fitToMenuBar();
  QMainWindow::setVisible(visible);
}

bool Window1::event(QEvent *event) {
  if (event->type() == QEvent::LayoutRequest)
    fitToMenuBar();
  return QMainWindow::event(event);
}

void Window1::changeEvent(QEvent *event) {
  if (event->type() == QEvent::WindowStateChange) {
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
      Event_Restore();
  }
  QMainWindow::changeEvent(event);
}
