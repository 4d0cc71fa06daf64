// Vidurara: a ring around the mouse pointer for presentations.
// The overlay on a real X server: what the screen shows and where presses go, with and
// without a compositing manager.
#include "EasyOverlayWindow.h"
#include "NativeInterface.h"
#include "TestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <cmath>

namespace {

constexpr QPoint kCentre(300, 250);
constexpr int kSize = 100, kLine = 6; // the default ring: radii 44 to 50
const QColor kRingColor(0, 0, 255);
const QColor kBeneathColor(0, 160, 0);

// An ordinary window under the ring that counts the presses it gets.
class Beneath : public QWidget {
public:
  int presses = 0;
  QPoint lastPress;

protected:
  void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), kBeneathColor); }
  void mousePressEvent(QMouseEvent *e) override {
    ++presses;
    lastPress = e->globalPosition().toPoint();
  }
};

class Overlay : public EasyOverlayWindow {
public:
  int presses = 0;
  QPoint lastPress;
  QList<QPoint> dragActions;
  void ring(QPoint centre) {
    Clear();
    LineWidth(kLine);
    ForeColor(RGBColor(0, 0, 255));
    DrawOval(int(centre.x() - kSize / 2.0), int(centre.y() - kSize / 2.0), kSize - kLine,
             kSize - kLine);
    DrawWindow();
    DrawWindow();
  }

protected:
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                 std::int32_t) override {
    ++presses;
    lastPress = QPoint(x, y);
    return true;
  }
  void WindowDragAction(std::int32_t left, std::int32_t top) override {
    dragActions.append(QPoint(left, top));
  }
};

// A plain window filled with one colour.
class Plain : public QWidget {
public:
  explicit Plain(QColor color) : color_(color) {}

protected:
  void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), color_); }

private:
  QColor color_;
};

// Positions are Qt's pixels; the screen shot and xdotool use device pixels, which
// differ when Qt scales the interface.
double ratio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }
QPoint device(QPoint p) {
  return QPoint(int((p.x() + 0.5) * ratio()), int((p.y() + 0.5) * ratio()));
}
QColor colorAt(const QImage &shot, QPoint p) { return shot.pixelColor(device(p)); }

// From the centre of device pixel `p` to the point `c` between pixels, in Qt's pixels.
double distance(QPoint p, QPoint c) {
  return std::hypot((p.x() + 0.5) / ratio() - c.x(), (p.y() + 0.5) / ratio() - c.y());
}

} // namespace

class TestOverlayScreen : public QObject {
  Q_OBJECT
  Beneath beneath_;
  Overlay overlay_;
  QImage before_; // the screen before the overlay existed

  bool click(QPoint at) {
    // The input shape must be in place before the press: move, wait, then click.
    const QPoint d = device(at);
    if (!testsupport::xdotool({"mousemove", QString::number(d.x()), QString::number(d.y())}))
      return false;
    QTest::qWait(80);
    const bool ok = testsupport::xdotool({"click", "1"});
    QTest::qWait(150);
    return ok;
  }

private slots:
  void initTestCase() {
    beneath_.setGeometry(50, 50, 450, 300);
    beneath_.show();
    QVERIFY(QTest::qWaitForWindowExposed(&beneath_));
    QTest::qWait(300);
    before_ = testsupport::grabScreen();
    QVERIFY(!before_.isNull());
    QCOMPARE(colorAt(before_, kCentre), kBeneathColor);

    const QSize screen = QGuiApplication::primaryScreen()->size();
    overlay_.Init(0, 0, screen.width(), screen.height(), nullptr);
    overlay_.Moveable = false;
    overlay_.IgnoreClicks(false);
    overlay_.ring(kCentre);
  }

  void ringOverTheScreen_data() {
    QTest::addColumn<bool>("composited");
    QTest::newRow("compositing manager") << true;
    QTest::newRow("no compositing manager") << false;
    QTest::newRow("compositing manager again") << true;
  }

  void ringOverTheScreen() {
    QFETCH(bool, composited);
    // The overlay follows the compositing manager by itself, while it is shown.
    if (!composited && platform::native().compositorRunning()) {
      QVERIFY(testsupport::stopCompositor());
      QTRY_VERIFY(!platform::native().compositorRunning());
    } else if (composited && !platform::native().compositorRunning()) {
      QVERIFY(testsupport::startCompositor());
      QTRY_VERIFY(platform::native().compositorRunning());
    }
    QCOMPARE(platform::native().compositorRunning(), composited);

    // The screen as it is with nothing drawn on the overlay; an empty overlay shows
    // nothing either.
    overlay_.Clear();
    overlay_.DrawWindow();
    QTest::qWait(300);
    const QImage empty = testsupport::grabScreen();
    const QRect inside = beneath_.geometry().adjusted(2, 2, -2, -2);
    for (int y = inside.top(); y <= inside.bottom(); y += 3)
      for (int x = inside.left(); x <= inside.right(); x += 3)
        QVERIFY2(colorAt(empty, QPoint(x, y)) == kBeneathColor,
                 qPrintable(QStringLiteral("empty overlay at %1,%2").arg(x).arg(y)));
    overlay_.ring(kCentre);

    // The ring in its colour, the window beneath through its middle.
    const QPoint onRing = kCentre - QPoint(0, 47);
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(
        (shot = testsupport::grabScreen(), testsupport::near(colorAt(shot, onRing), kRingColor)),
        3000);
    QCOMPARE(colorAt(shot, kCentre), kBeneathColor);
    QCOMPARE(colorAt(shot, kCentre + QPoint(0, 40)), kBeneathColor);

    // Off the ring the screen is what it was: no opaque area anywhere.
    int changedOffRing = 0, ringPixels = 0;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        const double r = distance(QPoint(x, y), kCentre);
        const bool ringArea = r >= 43 && r <= 51;
        if (r >= 45 && r <= 49) {
          ++ringPixels;
          QVERIFY2(testsupport::near(shot.pixelColor(x, y), kRingColor, 40),
                   qPrintable(QStringLiteral("ring pixel %1,%2").arg(x).arg(y)));
        } else if (!ringArea && shot.pixel(x, y) != empty.pixel(x, y)) {
          ++changedOffRing;
        }
      }
    QVERIFY(ringPixels > 0);
    QCOMPARE(changedOffRing, 0);

    // Smoothed edges, blended with what lies beneath, only where compositing works;
    // without it a pixel is either the ring's or the screen's.
    int blended = 0;
    const int row = device(kCentre - QPoint(0, 20)).y();
    for (int x = device(kCentre - QPoint(52, 0)).x(); x <= device(kCentre + QPoint(52, 0)).x();
         ++x) {
      const QColor c = shot.pixelColor(x, row);
      blended += c.green() > 20 && c.blue() > 20 && c != kBeneathColor;
    }
    QCOMPARE(blended > 0, composited);

    // A press in the transparent middle reaches the window beneath, one on the ring the
    // overlay.
    const int beneathBefore = beneath_.presses, overlayBefore = overlay_.presses;
    QVERIFY(click(kCentre));
    QTRY_COMPARE(beneath_.presses, beneathBefore + 1);
    QCOMPARE(beneath_.lastPress, kCentre);
    QCOMPARE(overlay_.presses, overlayBefore);

    QVERIFY(click(onRing));
    QTRY_COMPARE(overlay_.presses, overlayBefore + 1);
    QCOMPARE(overlay_.lastPress, onRing); // window coordinates: the window is at 0, 0
    QCOMPARE(beneath_.presses, beneathBefore + 1);
  }

  // A window that comes up later, over the ring, goes under it at the next change; the
  // overlay never takes the focus, not even when pressed.
  void staysAboveAndUnfocused() {
    Plain later(QColor(200, 200, 0));
    later.setGeometry(kCentre.x() - 80, kCentre.y() - 80, 160, 160);
    later.show();
    QVERIFY(QTest::qWaitForWindowExposed(&later));
    later.activateWindow();
    QTRY_COMPARE(QGuiApplication::focusWindow(), later.windowHandle());
    QTRY_COMPARE_WITH_TIMEOUT(colorAt(testsupport::grabScreen(), kCentre), QColor(200, 200, 0),
                              3000);
    overlay_.ring(kCentre + QPoint(1, 0)); // a tick of the tracking loop
    overlay_.ring(kCentre);
    const QPoint onRing = kCentre - QPoint(0, 47);
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(
        (shot = testsupport::grabScreen(), testsupport::near(colorAt(shot, onRing), kRingColor)),
        3000);
    QCOMPARE(colorAt(shot, kCentre), QColor(200, 200, 0));
    const int presses = overlay_.presses;
    QVERIFY(click(onRing));
    QTRY_COMPARE(overlay_.presses, presses + 1);
    QCOMPARE(QGuiApplication::focusWindow(), later.windowHandle());
    QVERIFY(!overlay_.nativeWindow()->isActive());
  }

  // An overlay that ignores clicks lets presses on its drawn pixels through as well.
  void ignoringClicks() {
    overlay_.ring(kCentre);
    overlay_.IgnoreClicks(true);
    const QPoint onRing = kCentre - QPoint(0, 47);
    const int beneath = beneath_.presses, presses = overlay_.presses;
    QVERIFY(click(onRing));
    QTRY_COMPARE(beneath_.presses, beneath + 1);
    QCOMPARE(overlay_.presses, presses);
    overlay_.IgnoreClicks(false);
    QVERIFY(click(onRing));
    QTRY_COMPARE(overlay_.presses, presses + 1);
  }

  // Dragging the ring of a Moveable overlay moves the whole window with the pointer.
  void dragByTheRing() {
    overlay_.Moveable = true;
    overlay_.ring(kCentre);
    const QPoint onRing = kCentre - QPoint(0, 47);
    const QPoint start = device(onRing);
    QVERIFY(testsupport::xdotool(
        {"mousemove", QString::number(start.x()), QString::number(start.y())}));
    QTest::qWait(80);
    QVERIFY(testsupport::xdotool({"mousedown", "1"}));
    QTest::qWait(80);
    QVERIFY(testsupport::xdotool({"mousemove_relative", "--",
                                  QString::number(std::lround(20 * ratio())),
                                  QString::number(std::lround(10 * ratio()))}));
    QTest::qWait(80);
    QVERIFY(testsupport::xdotool({"mouseup", "1"}));
    QTRY_COMPARE(QPoint(overlay_.Left(), overlay_.Top()), QPoint(20, 10));
    QVERIFY(!overlay_.dragActions.isEmpty());
    QCOMPARE(overlay_.dragActions.last(), QPoint(20, 10));
    // The drawing went with the window.
    QImage shot;
    QTRY_VERIFY_WITH_TIMEOUT(
        (shot = testsupport::grabScreen(),
         testsupport::near(colorAt(shot, onRing + QPoint(20, 10)), kRingColor)),
        3000);
    QCOMPARE(colorAt(shot, kCentre + QPoint(20, 10)), kBeneathColor);
    overlay_.Moveable = false;
    overlay_.Left(0);
    overlay_.Top(0);
  }

  void cleanupTestCase() {
    overlay_.Close();
    QVERIFY(!overlay_.nativeWindow());
  }
};

QTEST_MAIN(TestOverlayScreen)
#include "test_overlay_screen.moc"
