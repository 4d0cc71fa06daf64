// Vidurara: a ring around the mouse pointer for presentations.
// The X11 back end's input query against real XTEST presses: a click released before
// the next query still counts once, the scroll wheel never counts.
#include "NativeInterface.h"
#include "TestSupport.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest>

#include <memory>

using testsupport::xdotool;

namespace {

// A window of this process under the pointer, so that presses land on a client (not
// on the desktop, where the window manager opens its menus) and show that Qt still
// gets its own button and wheel events.
class Target : public QWindow {
public:
  int presses = 0;
  int wheelSteps = 0;

protected:
  void mousePressEvent(QMouseEvent *) override { ++presses; }
  void wheelEvent(QWheelEvent *) override { ++wheelSteps; }
};

bool query() { return platform::native().queryInput().mouseButton; }

// Lets the events of what happened so far arrive, then forgets any earlier press.
void settle() {
  QTest::qWait(50);
  query();
}

} // namespace

class TestX11Input : public QObject {
  Q_OBJECT

  std::unique_ptr<Target> target;

private slots:
  void initTestCase() {
    QCOMPARE(QByteArray(platform::native().name()), QByteArray("x11"));
    target = std::make_unique<Target>();
    target->setGeometry(100, 100, 400, 300);
    target->show();
    QVERIFY(QTest::qWaitForWindowExposed(target.get()));
    QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("300"), QStringLiteral("250")}));
    QTRY_COMPARE(platform::native().queryInput().pointer, QPoint(300, 250));
  }

  void init() {
    settle();
    target->presses = target->wheelSteps = 0;
  }

  // A failed case must not leave a button down for the next.
  void cleanup() {
    if (QTest::currentTestFailed())
      for (const char *button : {"1", "2", "3"})
        xdotool({QStringLiteral("mouseup"), QString::fromLatin1(button)});
  }

  // Press and release within about a millisecond, both before the next query.
  void quickClick_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("counts");
    QTest::newRow("left") << "1" << true;
    QTest::newRow("middle") << "2" << true;
    QTest::newRow("right") << "3" << true;
    QTest::newRow("wheel up") << "4" << false;
    QTest::newRow("wheel down") << "5" << false;
    QTest::newRow("wheel left") << "6" << false;
    QTest::newRow("wheel right") << "7" << false;
  }
  void quickClick() {
    QFETCH(QString, button);
    QFETCH(bool, counts);
    QVERIFY(xdotool({QStringLiteral("click"), button}));
    QTest::qWait(50);
    QCOMPARE(query(), counts);
    // Reported once: the button is up and nothing was pressed since.
    QCOMPARE(query(), false);
    // Qt's own delivery is untouched.
    QTRY_COMPARE(target->presses, counts ? 1 : 0);
    QTRY_COMPARE(target->wheelSteps, counts ? 0 : 1);
  }

  // Several quick clicks between two queries are one press; the one after the next
  // query is reported again.
  void clicksBetweenQueries() {
    QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("3"),
                     QStringLiteral("--delay"), QStringLiteral("5"), QStringLiteral("1")}));
    QTest::qWait(50);
    QVERIFY(query());
    QVERIFY(!query());
    QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
    QTest::qWait(50);
    QVERIFY(query());
    QVERIFY(!query());
  }

  // A held button is reported at every query until it is released.
  void held_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("left") << "1";
    QTest::newRow("right") << "3";
  }
  void held() {
    QFETCH(QString, button);
    QVERIFY(xdotool({QStringLiteral("mousedown"), button}));
    QTest::qWait(50);
    QVERIFY(query());
    QVERIFY(query());
    QTest::qWait(30);
    QVERIFY(query());
    QVERIFY(xdotool({QStringLiteral("mouseup"), button}));
    QTest::qWait(50);
    QVERIFY(!query());
  }
};

QTEST_MAIN(TestX11Input)
#include "test_x11_input.moc"
