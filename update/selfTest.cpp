// Vidurara: a ring around the mouse pointer for presentations.
#include "selfTest.h"

#include "AppVersion.h"
#include "updateWindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {
QFont systemFont(bool bold) {
  QFont font = QApplication::font();
  font.setBold(bold);
  return font;
}
} // namespace

selfTest::selfTest()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Self Test"));
  setFixedSize(212, 102);

  StaticText1 = new QLabel(QStringLiteral("Version:"), this);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  StaticText1->setGeometry(38, 19, 59, 20);
  StaticText1->setFont(systemFont(true));
  StaticText1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  StaticText2 = new QLabel(QStringLiteral("2.1.0 Intel"), this);
  StaticText2->setObjectName(QStringLiteral("StaticText2"));
  StaticText2->setGeometry(109, 19, 66, 20);
  StaticText2->setFont(systemFont(false));
  StaticText2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  StaticText2->setTextFormat(Qt::PlainText);
  StaticText2_Open();

  PushButton1 = new QPushButton(QStringLiteral("Check for Updates"), this);
  PushButton1->setObjectName(QStringLiteral("PushButton1"));
  PushButton1->setGeometry(28, 61, 157, 21);
  PushButton1->setFont(systemFont(true));
  PushButton1->setDefault(true);
  PushButton1->setFocus();
  connect(PushButton1, &QPushButton::clicked, this, &selfTest::PushButton1_Action);
}

void selfTest::StaticText2_Open() {
  StaticText2->setText(QString::fromUtf8(AppVersion::LongVersion));
}

void selfTest::PushButton1_Action() {
  QPointer<selfTest> self(this);
  // Creating the window starts the request and closes this one.
  QPointer<updateWindow> check = new updateWindow;
  QEventLoop waiting;
  connect(check, &updateWindow::closed, &waiting, &QEventLoop::quit);
  connect(check, &QObject::destroyed, &waiting, &QEventLoop::quit);
  check->showModally();
  if (check && check->isVisible())
    waiting.exec();
  if (self && self->isVisible())
    self->close();
}

void selfTest::keyPressEvent(QKeyEvent *event) {
  // "Check for Updates" is the default button, wherever the focus is.
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier)) {
    PushButton1->click();
    return;
  }
  QWidget::keyPressEvent(event);
}
