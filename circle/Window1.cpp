// Vidurara: a ring around the mouse pointer for presentations.
#include "Window1.h"

#include "PrefsFile.h"
#include "prefModule.h"

#include <QCloseEvent>
#include <QCoreApplication>

Window1::Window1() {
  setWindowTitle(QStringLiteral("Vidurara"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  auto *content = new QWidget(this);
  content->setFixedSize(100, 64);
  setCentralWidget(content);
  Event_Open();
}

Window1::~Window1() = default;

std::int32_t Window1::Top() const { return geometry().top(); }
std::int32_t Window1::Left() const { return geometry().left(); }
void Window1::Top(std::int32_t top) { setGeometry(QRect(QPoint(Left(), top), size())); }
void Window1::Left(std::int32_t left) { setGeometry(QRect(QPoint(left, Top()), size())); }

void Window1::Event_Open() {
  Top(prefModule::Window1Top);
  Left(prefModule::Window1Left);
}

void Window1::Event_Close() {
  prefModule::savePrefs();
  QCoreApplication::exit(0);
}

void Window1::closeEvent(QCloseEvent *event) {
  event->accept();
  Event_Close();
}
