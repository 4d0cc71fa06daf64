// Vidurara: a ring around the mouse pointer for presentations.
// Mouse events: how the overlay window reports them, and what the drawing surface does
// with them (hooks, Module1::MouseClicked, dragging a Moveable window).
#include "EasyOverlayWindow.h"

#include <QTest>
#include <QWindow>

#include <memory>

namespace {

QStringList *journal = nullptr;
void note(const QString &line) { journal->append(line); }

// The component's events, made callable as the window calls them.
template <typename Base> struct Driver : Base {
  using Base::Event_MouseDown;
  using Base::Event_MouseDragged;
  using Base::Event_MouseMoved;
  using Base::Event_MouseUp;
};

struct AllHooks : EasyOverlayWindow {
  bool answer = true;
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2,
                 std::int32_t i3) override {
    note(QStringLiteral("MouseDown %1 %2 %3 %4 %5").arg(x).arg(y).arg(i1).arg(i2).arg(i3));
    return answer;
  }
  void MouseUp(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2,
               std::int32_t i3) override {
    note(QStringLiteral("MouseUp %1 %2 %3 %4 %5").arg(x).arg(y).arg(i1).arg(i2).arg(i3));
  }
  void MouseDrag(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2) override {
    note(QStringLiteral("MouseDrag %1 %2 %3 %4").arg(x).arg(y).arg(i1).arg(i2));
  }
  void MouseMove(std::int32_t x, std::int32_t y, std::int32_t i1) override {
    note(QStringLiteral("MouseMove %1 %2 %3").arg(x).arg(y).arg(i1));
  }
  void WindowDragAction(std::int32_t left, std::int32_t top) override {
    note(QStringLiteral("WindowDragAction %1 %2").arg(left).arg(top));
  }
};

// Every hook but the press.
struct NoPressHook : EasyOverlayWindow {
  void MouseUp(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t, std::int32_t) override {
    note(QStringLiteral("MouseUp %1 %2").arg(x).arg(y));
  }
  void MouseDrag(std::int32_t x, std::int32_t y, std::int32_t, std::int32_t) override {
    note(QStringLiteral("MouseDrag %1 %2").arg(x).arg(y));
  }
  void MouseMove(std::int32_t x, std::int32_t y, std::int32_t i1) override {
    note(QStringLiteral("MouseMove %1 %2 %3").arg(x).arg(y).arg(i1));
  }
  void WindowDragAction(std::int32_t left, std::int32_t top) override {
    note(QStringLiteral("WindowDragAction %1 %2").arg(left).arg(top));
  }
};

// The component's own reports.
struct Reports : OverlayWindow {
  bool answer = false;
  bool Event_MouseDown(double x, double y, std::int32_t i1, std::int32_t i2,
                       std::int32_t i3) override {
    note(QStringLiteral("down %1 %2 %3 %4 %5").arg(x).arg(y).arg(i1).arg(i2).arg(i3));
    return answer;
  }
  bool Event_MouseUp(double x, double y, std::int32_t i1, std::int32_t, std::int32_t) override {
    note(QStringLiteral("up %1 %2 %3").arg(x).arg(y).arg(i1));
    return false;
  }
  bool Event_MouseMoved(double x, double y, std::int32_t, double dx, double dy) override {
    note(QStringLiteral("move %1 %2 by %3 %4").arg(x).arg(y).arg(dx).arg(dy));
    return false;
  }
  bool Event_MouseDragged(double x, double y, std::int32_t i1, double dx, double dy,
                          std::int32_t) override {
    note(QStringLiteral("drag %1 %2 by %3 %4 button %5").arg(x).arg(y).arg(dx).arg(dy).arg(i1));
    return false;
  }
};

} // namespace

class TestSurfaceMouse : public QObject {
  Q_OBJECT
  QStringList log_;

  // Plays "down x y", "up x y", "move x y dx dy", "drag x y dx dy" on the surface and
  // notes the press's answer, Module1::MouseClicked and the window's place after drags.
  template <typename S> void play(S &s, const QStringList &events) {
    for (const QString &event : events) {
      const QStringList f = event.split(QLatin1Char(' '));
      const double x = f[1].toDouble(), y = f[2].toDouble();
      if (f[0] == QLatin1String("down")) {
        const bool answer = s.Event_MouseDown(x, y, 1, 1, 0);
        note(QStringLiteral("answer %1, clicked %2").arg(answer).arg(Module1::MouseClicked));
      } else if (f[0] == QLatin1String("up")) {
        s.Event_MouseUp(x, y, 1, 1, 0);
      } else if (f[0] == QLatin1String("move")) {
        s.Event_MouseMoved(x, y, 0, f[3].toDouble(), f[4].toDouble());
      } else {
        s.Event_MouseDragged(x, y, 1, f[3].toDouble(), f[4].toDouble(), 0);
        note(QStringLiteral("at %1 %2").arg(s.Left()).arg(s.Top()));
      }
    }
  }

private slots:
  void init() {
    log_.clear();
    journal = &log_;
    Module1::MouseClicked = false;
  }

  void surfaceEvents_data() {
    QTest::addColumn<QString>("surface"); // "answers true", "answers false", "no press hook"
    QTest::addColumn<bool>("moveable");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("press and release in window coordinates, truncated")
        << "answers true" << true << QPoint(100, 50)
        << QStringList{"down 105.7 52.2", "up 107.9 49.5"}
        << QStringList{"MouseDown 5 2 1 1 0", "answer 1, clicked 1", "MouseUp 7 0 1 1 0"};
    QTest::newRow("drag moves a moveable window, then the hook sees the new place")
        << "answers true" << true << QPoint(0, 0) << QStringList{"down 5 5", "drag 15 0 10 -5"}
        << QStringList{"MouseDown 5 5 1 1 0", "answer 1, clicked 1", "WindowDragAction 10 -5",
                       "MouseDrag 5 5 1 0", "at 10 -5"};
    QTest::newRow("drag of zero moves nothing and calls no WindowDragAction")
        << "answers true" << true << QPoint(0, 0) << QStringList{"down 5 5", "drag 5 5 0 0"}
        << QStringList{"MouseDown 5 5 1 1 0", "answer 1, clicked 1", "MouseDrag 5 5 1 0", "at 0 0"};
    QTest::newRow("fractional drag: top then left, each truncated")
        << "answers true" << true << QPoint(0, 0)
        << QStringList{"down 0 0", "drag 2.7 -1.5 2.7 -1.5"}
        << QStringList{"MouseDown 0 0 1 1 0", "answer 1, clicked 1", "WindowDragAction 2 -1",
                       "MouseDrag 0 0 1 0", "at 2 -1"};
    QTest::newRow("not moveable: the press answers false and drags move nothing")
        << "answers true" << false << QPoint(20, 30)
        << QStringList{"down 25 35", "drag 35 30 10 -5"}
        << QStringList{"MouseDown 5 5 1 1 0", "answer 0, clicked 1", "MouseDrag 15 0 1 0",
                       "at 20 30"};
    QTest::newRow("press answered false: no MouseUp, no MouseDrag")
        << "answers false" << true << QPoint(0, 0)
        << QStringList{"down 5 5", "drag 15 0 10 -5", "up 15 0"}
        << QStringList{"MouseDown 5 5 1 1 0", "answer 1, clicked 0", "WindowDragAction 10 -5",
                       "at 10 -5"};
    QTest::newRow("no press hook: clicked false, no MouseUp, no MouseDrag")
        << "no press hook" << true << QPoint(0, 0)
        << QStringList{"down 5 5", "drag 15 0 10 -5", "drag 15 0 0 0", "up 15 0"}
        << QStringList{"answer 1, clicked 0", "WindowDragAction 10 -5", "at 10 -5", "at 10 -5"};
    QTest::newRow("moves reach MouseMove whatever the last press")
        << "no press hook" << true << QPoint(10, 0) << QStringList{"down 5 5", "move 22.5 7.9 1 1"}
        << QStringList{"answer 1, clicked 0", "MouseMove 12 7 0"};
  }

  void surfaceEvents() {
    QFETCH(QString, surface);
    QFETCH(bool, moveable);
    QFETCH(QPoint, at);
    QFETCH(QStringList, events);
    QFETCH(QStringList, expected);
    if (surface == QLatin1String("no press hook")) {
      Driver<NoPressHook> s;
      s.Moveable = moveable;
      s.Left(at.x());
      s.Top(at.y());
      play(s, events);
    } else {
      Driver<AllHooks> s;
      s.answer = surface == QLatin1String("answers true");
      s.Moveable = moveable;
      s.Left(at.x());
      s.Top(at.y());
      play(s, events);
    }
    QCOMPARE(log_, expected);
  }

  // The last press's answer stays until the next press.
  void clickedKeepsTheLastPress() {
    Driver<AllHooks> s;
    s.Event_MouseDown(1, 1, 1, 1, 0);
    s.Event_MouseUp(1, 1, 1, 1, 0);
    s.Event_MouseUp(2, 2, 1, 1, 0);
    QVERIFY(Module1::MouseClicked);
    s.answer = false;
    s.Event_MouseDown(3, 3, 1, 1, 0);
    s.Event_MouseUp(3, 3, 1, 1, 0);
    QCOMPARE(log_, (QStringList{"MouseDown 1 1 1 1 0", "MouseUp 1 1 1 1 0", "MouseUp 2 2 1 1 0",
                                "MouseDown 3 3 1 1 0"}));
  }

  // What the window reports of real pointer events on its drawn pixels.
  void componentReports_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("press answered false: moves, not drags")
        << false
        << QStringList{"down 120 130 1 1 2", "move 123 134 by 3 4", "move 124 132 by 1 -2",
                       "up 124 132 1"};
    QTest::newRow("press answered true: drags until the release")
        << true
        << QStringList{"down 120 130 1 1 2", "drag 123 134 by 3 4 button 1",
                       "drag 124 132 by 1 -2 button 1", "up 124 132 1"};
  }

  void componentReports() {
    QFETCH(bool, answer);
    QFETCH(QStringList, expected);
    Reports w;
    w.answer = answer;
    QCOMPARE(w.Create(0, 0, 400, 300), 0);
    w.Show();
    w.Context()->SetRGBFillColor(1, 0, 0, 1);
    w.Context()->FillRect(MakeContextRect(100, 100, 50, 100)); // window 100..150, 100..200
    w.Context()->Flush();
    QWindow *native = w.nativeWindow();
    QVERIFY(native);
    QTest::mouseMove(native, QPoint(1, 1)); // events before InstallEventHandler are dropped
    w.InstallEventHandler();
    const QPoint origin = native->geometry().topLeft();
    auto local = [&](int x, int y) { return QPoint(x, y) - origin; };
    QTest::mouseMove(native, local(120, 130));
    log_.clear();
    QTest::mousePress(native, Qt::LeftButton, Qt::ControlModifier, local(120, 130));
    QTest::mouseMove(native, local(123, 134));
    QTest::mouseMove(native, local(124, 132));
    QTest::mouseRelease(native, Qt::LeftButton, Qt::NoModifier, local(124, 132));
    QCOMPARE(log_, expected);
  }

  void clickCount() {
    Reports w;
    QCOMPARE(w.Create(0, 0, 400, 300), 0);
    w.Show();
    w.InstallEventHandler();
    w.Context()->SetRGBFillColor(1, 0, 0, 1);
    w.Context()->FillRect(MakeContextRect(100, 100, 50, 50));
    w.Context()->Flush();
    QWindow *native = w.nativeWindow();
    const QPoint p = QPoint(120, 170) - native->geometry().topLeft();
    QTest::mouseClick(native, Qt::LeftButton, {}, p);
    QTest::mouseClick(native, Qt::LeftButton, {}, p);
    QTest::mouseClick(native, Qt::RightButton, {}, p);
    QStringList downs = log_.filter(QStringLiteral("down"));
    QCOMPARE(downs,
             (QStringList{"down 120 170 1 1 0", "down 120 170 1 2 0", "down 120 170 2 1 0"}));
  }
};

QTEST_MAIN(TestSurfaceMouse)
#include "test_surface_mouse.moc"
