// Vidurara: a ring around the mouse pointer for presentations.
#include "UpdateTestSupport.h"

#include "SingleInstance.h"
#include "TestSupport.h"
#include "selfTest.h"
#include "updateWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTcpSocket>

#include <algorithm>

#ifdef VIDURARA_HAVE_XLIB
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

FeedServer::FeedServer() {
  server_.listen(QHostAddress::LocalHost, 0);
  connect(&server_, &QTcpServer::newConnection, this, &FeedServer::accepted);
}

FeedServer::~FeedServer() {
  // Connections still open must not report back into a half-destroyed server.
  for (QTcpSocket *socket : std::as_const(connections_)) {
    socket->disconnect(this);
    delete socket;
  }
  connections_.clear();
}

QUrl FeedServer::feedUrl() const {
  return QUrl(QStringLiteral("http://127.0.0.1:%1/Updates/vidurara.xml").arg(server_.serverPort()));
}

void FeedServer::serve(Mode mode, int status, const QByteArray &body) {
  mode_ = mode;
  status_ = status;
  body_ = body;
  requests_.clear();
}

quint16 FeedServer::closedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

void FeedServer::accepted() {
  while (QTcpSocket *socket = server_.nextPendingConnection()) {
    connections_.insert(socket);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      connections_.remove(socket);
      pending_.remove(socket);
      socket->deleteLater();
    });
  }
}

void FeedServer::readRequest(QTcpSocket *socket) {
  QByteArray &request = pending_[socket];
  request += socket->readAll();
  const qsizetype end = request.indexOf("\r\n\r\n");
  if (end < 0)
    return;
  requests_ << QString::fromLatin1(request.left(request.indexOf("\r\n")));
  pending_.remove(socket);
  disconnect(socket, &QTcpSocket::readyRead, this, nullptr);

  const QByteArray statusLine = "HTTP/1.1 " + QByteArray::number(status_) + " Status\r\n";
  switch (mode_) {
  case Answer:
    socket->write(statusLine + "Content-Type: text/xml\r\nContent-Length: " +
                  QByteArray::number(body_.size()) + "\r\nConnection: close\r\n\r\n" + body_);
    socket->disconnectFromHost();
    break;
  case NeverAnswer:
    break;
  case CloseAtOnce:
    socket->disconnectFromHost();
    break;
  case Stream:
    socket->write(statusLine + "Content-Type: text/xml\r\nConnection: close\r\n\r\n" + body_);
    break;
  case DeclareOnly:
    socket->write(statusLine +
                  "Content-Type: text/xml\r\nContent-Length: " + QByteArray::number(body_.size()) +
                  "\r\nConnection: close\r\n\r\n" + body_.left(1));
    break;
  }
}

#ifdef VIDURARA_HAVE_XLIB
BellCounter::BellCounter() {
  Display *display = XOpenDisplay(nullptr);
  if (!display)
    return;
  int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
  if (!XkbQueryExtension(display, &opcode, &eventBase_, &error, &major, &minor) ||
      !XkbSelectEvents(display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask)) {
    XCloseDisplay(display);
    return;
  }
  XSync(display, False);
  display_ = display;
}

BellCounter::~BellCounter() {
  if (display_)
    XCloseDisplay(static_cast<Display *>(display_));
}

int BellCounter::count() {
  if (!display_)
    return -1;
  Display *display = static_cast<Display *>(display_);
  XSync(display, False);
  while (XPending(display)) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == eventBase_ &&
        reinterpret_cast<XkbEvent *>(&event)->any.xkb_type == XkbBellNotify)
      ++count_;
  }
  return count_;
}
#else
BellCounter::BellCounter() = default;
BellCounter::~BellCounter() = default;
int BellCounter::count() { return -1; }
#endif

updateWindow *openUpdateWindow() {
  for (QWidget *widget : QApplication::topLevelWidgets())
    if (auto *window = qobject_cast<updateWindow *>(widget); window && window->isVisible())
      return window;
  return nullptr;
}

DialogAnswerer::DialogAnswerer(BellCounter *bells, QStringList presses, int cancelAfterMs,
                               int deadlineMs)
    : bells_(bells), presses_(std::move(presses)), cancelAfterMs_(cancelAfterMs),
      deadlineMs_(deadlineMs) {
  timer_.setInterval(20);
  connect(&timer_, &QTimer::timeout, this, &DialogAnswerer::poll);
  timer_.start();
}

void DialogAnswerer::poll() {
  elapsedMs_ += timer_.interval();
  auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
  if (box && box != current_ && box->isVisible()) {
    current_ = box;
    idleMs_ = 0;
    SeenBox s;
    s.title = box->windowTitle();
    s.text = box->text();
    s.informativeText = box->informativeText();
    s.textFormat = box->textFormat();
    for (const QLabel *label : box->findChildren<QLabel *>())
      if (label->objectName() == QLatin1String("qt_msgbox_informativelabel"))
        s.informativeFormat = label->textFormat();
    s.icon = box->icon();
    for (const QAbstractButton *button : box->buttons())
      s.buttons << button->text().remove(QLatin1Char('&'));
    std::sort(s.buttons.begin(), s.buttons.end());
    if (box->defaultButton())
      s.defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
    s.bells = bells_ ? bells_->count() : -1;
    if (const QScreen *screen = box->screen())
      s.fitsScreen = screen->geometry().contains(box->frameGeometry());
    if (const updateWindow *window = openUpdateWindow()) {
      s.updateLabel = window->StaticText1->text();
      s.progressVisible = window->ProgressBar1->isVisible();
    }
    const selfTest *checkWindow = SingleInstance<selfTest>::find();
    s.selfTestVisible = checkWindow && checkWindow->isVisible();

    QAbstractButton *press = box->escapeButton();
    if (!presses_.isEmpty()) {
      const QString caption = presses_.takeFirst();
      press = nullptr;
      for (QAbstractButton *button : box->buttons())
        if (button->text().remove(QLatin1Char('&')) == caption)
          press = button;
    }
    s.pressed = press ? press->text().remove(QLatin1Char('&')) : QString();
    seen << s;
    if (press)
      QTimer::singleShot(50, press, [press] { press->click(); });
    else
      QTimer::singleShot(50, box, [box] { box->reject(); });
    return;
  }
  if (!box)
    idleMs_ += timer_.interval();
  if (cancelAfterMs_ >= 0 && !cancelled && idleMs_ >= cancelAfterMs_) {
    if (updateWindow *window = openUpdateWindow()) {
      const selfTest *checkWindow = SingleInstance<selfTest>::find();
      selfTestVisibleAtCancel = checkWindow && checkWindow->isVisible();
      cancelled = true;
      window->PushButton1->click();
    }
  }
  if (elapsedMs_ >= deadlineMs_ && !timedOut) {
    timedOut = true;
    if (box)
      box->reject();
    if (updateWindow *window = openUpdateWindow())
      window->close();
  }
}

UrlCatcher::UrlCatcher() {
  QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
  QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
}

UrlCatcher::~UrlCatcher() {
  QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

QPoint contentPosition(const QWidget *window) {
  QString out;
  if (!testsupport::run(QStringLiteral("xwininfo"),
                        {QStringLiteral("-id"), QString::number(window->winId())}, &out))
    return QPoint(-1, -1);
  const QRegularExpression x(QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)"));
  const QRegularExpression y(QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)"));
  return QPoint(x.match(out).captured(1).toInt(), y.match(out).captured(1).toInt());
}

bool closeWithCloseBox(const QWidget *window) {
  return testsupport::run(QStringLiteral("wmctrl"),
                          {QStringLiteral("-i"), QStringLiteral("-c"),
                           QStringLiteral("0x%1").arg(window->winId(), 0, 16)});
}
