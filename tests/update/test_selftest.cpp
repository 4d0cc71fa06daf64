// Vidurara: a ring around the mouse pointer for presentations.
// The check-for-updates window, opened through the application's own "Check Now" command,
// with the update check behind it talking to a real HTTP server on 127.0.0.1.
#include "App.h"
#include "AppVersion.h"
#include "MenuBar1.h"
#include "SingleInstance.h"
#include "TestSupport.h"
#include "UpdateTestSupport.h"
#include "selfTest.h"
#include "updateWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

selfTest *checkNow() {
  auto *app = static_cast<App *>(QCoreApplication::instance());
  QAction *item =
      app->menuBar() ? app->menuBar()->item(QStringLiteral("CheckforUpdateCheckNow")) : nullptr;
  if (!item)
    return nullptr;
  item->trigger();
  return SingleInstance<selfTest>::find();
}

QList<selfTest *> visibleCheckWindows() {
  QList<selfTest *> windows;
  for (QWidget *widget : QApplication::topLevelWidgets())
    if (auto *window = qobject_cast<selfTest *>(widget); window && window->isVisible())
      windows << window;
  return windows;
}

} // namespace

class TestSelfTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void cleanup();
  void window();
  void checkNowTwice();
  void closeBoxStartsNoCheck();
  void check_data();
  void check();

private:
  FeedServer server_;
};

void TestSelfTest::initTestCase() {
  static_cast<App *>(QCoreApplication::instance())->InstallMenuBar();
  updateWindow::setFeedUrl(server_.feedUrl());
}

void TestSelfTest::cleanup() {
  if (updateWindow *left = openUpdateWindow())
    left->close();
  if (selfTest *left = SingleInstance<selfTest>::find())
    left->close();
  QTRY_VERIFY(!SingleInstance<selfTest>::find() && !openUpdateWindow());
}

void TestSelfTest::window() {
  selfTest *w = checkNow();
  QVERIFY(w);
  QVERIFY(QTest::qWaitForWindowExposed(w));
  QCOMPARE(w->windowTitle(), QStringLiteral("Self Test"));
  QCOMPARE(w->size(), QSize(212, 102));
  QCOMPARE(w->minimumSize(), w->maximumSize());
  QVERIFY(!w->isModal());
  const Qt::WindowFlags flags = w->windowFlags();
  QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
  QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

  QCOMPARE(w->StaticText1->objectName(), QStringLiteral("StaticText1"));
  QCOMPARE(w->StaticText1->text(), QStringLiteral("Version:"));
  QCOMPARE(w->StaticText1->geometry(), QRect(38, 19, 59, 20));
  QVERIFY(w->StaticText1->font().bold());
  QVERIFY(w->StaticText1->alignment().testFlag(Qt::AlignLeft));

  // The running long version, not the laid-out text.
  QCOMPARE(w->StaticText2->objectName(), QStringLiteral("StaticText2"));
  QCOMPARE(w->StaticText2->text(), QStringLiteral("2.1.0 Linux"));
  QCOMPARE(w->StaticText2->text(), QString::fromUtf8(AppVersion::LongVersion));
  QCOMPARE(w->StaticText2->geometry(), QRect(109, 19, 66, 20));
  QVERIFY(!w->StaticText2->font().bold());
  QVERIFY(w->StaticText2->alignment().testFlag(Qt::AlignRight));

  QCOMPARE(w->PushButton1->objectName(), QStringLiteral("PushButton1"));
  QCOMPARE(w->PushButton1->text(), QStringLiteral("Check for Updates"));
  QCOMPARE(w->PushButton1->geometry(), QRect(28, 61, 157, 21));
  QVERIFY(w->PushButton1->font().bold());
  QVERIFY(w->PushButton1->isDefault());
}

void TestSelfTest::checkNowTwice() {
  selfTest *first = checkNow();
  QVERIFY(first);
  QVERIFY(QTest::qWaitForWindowExposed(first));
  // Moved away by the user, then the command again.
  first->setGeometry(QRect(QPoint(400, 300), first->size()));
  QTRY_COMPARE(contentPosition(first), QPoint(400, 300));
  // Let the window manager's notifications of both moves arrive, as they would have long
  // before a user chooses the command again.
  QTest::qWait(300);
  QTRY_COMPARE(first->geometry().topLeft(), QPoint(400, 300));
  selfTest *second = checkNow();
  QCOMPARE(second, first);
  QCOMPARE(visibleCheckWindows().size(), 1);
  QTRY_COMPARE(contentPosition(second), QPoint(20, 70));
}

void TestSelfTest::closeBoxStartsNoCheck() {
  server_.serve(FeedServer::Answer, 200, QByteArray("<CurrentVersion>2.1.0</CurrentVersion>"));
  selfTest *w = checkNow();
  QVERIFY(w);
  QVERIFY(QTest::qWaitForWindowExposed(w));
  QVERIFY(closeWithCloseBox(w));
  QTRY_VERIFY(!SingleInstance<selfTest>::find());
  QTest::qWait(500);
  QVERIFY(!openUpdateWindow());
  QVERIFY(server_.requests().isEmpty());
  // The next command makes a new window.
  QVERIFY(checkNow());
}

void TestSelfTest::check_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<FeedServer::Mode>("mode");
  QTest::addColumn<int>("status");
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<int>("boxes");

  const QByteArray current = "<CurrentVersion>2.1.0</CurrentVersion>";
  const QByteArray offer = "<CurrentVersion>2.2.0</CurrentVersion><Description>d</Description>";
  using M = FeedServer::Mode;
  QTest::newRow("click, current") << "click" << M::Answer << 200 << current << 1;
  QTest::newRow("Return key, current") << "Return" << M::Answer << 200 << current << 1;
  QTest::newRow("click, offer declined") << "click" << M::Answer << 200 << offer << 1;
  QTest::newRow("click, error page") << "click" << M::Answer << 404 << QByteArray("x") << 1;
  QTest::newRow("click, empty body") << "click" << M::Answer << 200 << QByteArray() << 0;
  QTest::newRow("click, no answer, Cancel") << "click" << M::NeverAnswer << 0 << QByteArray() << 0;
}

void TestSelfTest::check() {
  QFETCH(QString, start);
  QFETCH(FeedServer::Mode, mode);
  QFETCH(int, status);
  QFETCH(QByteArray, body);
  QFETCH(int, boxes);

  server_.serve(mode, status, body);
  selfTest *w = checkNow();
  QVERIFY(w);
  QVERIFY(QTest::qWaitForWindowActive(w));
  BellCounter bells;
  DialogAnswerer answerer(&bells, {}, mode == FeedServer::NeverAnswer ? 800 : -1);

  // A real key or click through the X server; the check then runs inside the event loop.
  if (start == QLatin1String("Return")) {
    QVERIFY(testsupport::xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
  } else {
    const QPoint centre = w->PushButton1->mapToGlobal(w->PushButton1->rect().center());
    QVERIFY(testsupport::xdotool({QStringLiteral("mousemove"), QString::number(centre.x()),
                                  QString::number(centre.y()), QStringLiteral("click"),
                                  QStringLiteral("1")}));
  }
  QTRY_VERIFY_WITH_TIMEOUT(!server_.requests().isEmpty(), 10000);
  QTRY_VERIFY_WITH_TIMEOUT(!openUpdateWindow() && !SingleInstance<selfTest>::find(), 20000);
  QVERIFY(!answerer.timedOut);
  QCOMPARE(server_.requests().size(), 1);
  QCOMPARE(answerer.seen.size(), boxes);
  // The check-for-updates window went away when the check began, and stays away.
  for (const SeenBox &box : answerer.seen)
    QVERIFY(!box.selfTestVisible);
  if (answerer.cancelled)
    QVERIFY(!answerer.selfTestVisibleAtCancel);
  QCOMPARE(mode == FeedServer::NeverAnswer, answerer.cancelled);
  QTest::qWait(200);
  QVERIFY(visibleCheckWindows().isEmpty());
  QVERIFY(!SingleInstance<selfTest>::find());
}

int main(int argc, char **argv) {
  App app(argc, argv);
  TestSelfTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_selftest.moc"
