// Vidurara: a ring around the mouse pointer for presentations.
// The Control Panel's tracking loop driven through a scripted input source: chords,
// the click flash and its timing, auto shut-off, minimise and restore, and the ring
// each tick leaves on the overlay.
#include "CircleCommands.h"
#include "DrawContext.h"
#include "GlobalInput.h"
#include "MagnifyOverlay.h"
#include "Module1.h"
#include "MyThread.h"
#include "TestSupport.h"
#include "Timer.h"
#include "Window1.h"
#include "prefModule.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const QColor Blue(0, 0, 255);
const QColor ClickRed(200, 0, 0);

// What the window system would answer, set by the test; every query is logged.
class ScriptedInput final : public GlobalInput {
public:
  bool control = false, shift = false, alt = false, mouse = false;
  QPoint pointer{400, 300};
  // The key and button queries in the order asked, since the last clear().
  QStringList queries;
  // Milliseconds since clear() of each Refresh.
  QList<qint64> refreshes;
  // Called on each Refresh, before it is logged.
  std::function<void()> onRefresh;
  // Called when MouseDown is asked while `mouse` is true.
  std::function<void()> onMouseDown;
  QElapsedTimer clock;

  void reset() {
    control = shift = alt = mouse = false;
    pointer = QPoint(400, 300);
    onRefresh = nullptr;
    onMouseDown = nullptr;
    clear();
  }
  void clear() {
    queries.clear();
    refreshes.clear();
    clock.start();
  }
  void Refresh() override {
    // A copy: the callback may replace itself.
    if (auto f = onRefresh)
      f();
    refreshes.append(clock.elapsed());
  }
  bool AsyncControlKey() override { return log("control", control); }
  bool AsyncShiftKey() override { return log("shift", shift); }
  bool AsyncAltKey() override { return log("alt", alt); }
  bool MouseDown() override {
    const bool down = log("mouse", mouse);
    if (auto f = onMouseDown; down && f)
      f();
    return down;
  }
  QPoint Pointer() override { return pointer; }

private:
  bool log(const char *what, bool value) {
    queries.append(QString::fromLatin1(what));
    return value;
  }
};

// The overlay's frame as the screen would show it, in window pixels.
QImage frameOf(MagnifyOverlay *overlay) {
  if (!overlay || !overlay->myContext)
    return {};
  return overlay->myContext->render(overlay->Width(), overlay->Height())
      .convertToFormat(QImage::Format_ARGB32);
}

// Pixels at distance r + 0.5 from `centre` (a pixel corner) in the four directions.
QList<QPoint> around(QPoint centre, int r) {
  return {centre + QPoint(r, 0), centre + QPoint(-r - 1, 0), centre + QPoint(0, r),
          centre + QPoint(0, -r - 1)};
}

// Whether the frame holds a ring of outer diameter `size` and thickness `width`
// around `centre` in `colour`, and nothing just inside and outside it. Samples keep a
// pixel's margin from the edges, so the truncations of odd sizes do not matter.
// Needs a width of at least 4.
QString ringProblem(const QImage &frame, QPoint centre, int size, int width, QColor colour) {
  if (frame.isNull())
    return QStringLiteral("no frame");
  const int outer = size / 2, inner = outer - width;
  for (int r : {inner + 2, (inner + outer) / 2, outer - 2})
    for (QPoint p : around(centre, r)) {
      if (!frame.rect().contains(p))
        continue;
      const QColor c = frame.pixelColor(p);
      if (c.alpha() < 200 || !testsupport::near(c, colour, 12))
        return QStringLiteral("at (%1, %2), radius %3: %4 alpha %5, want %6")
            .arg(p.x())
            .arg(p.y())
            .arg(r)
            .arg(c.name())
            .arg(c.alpha())
            .arg(colour.name());
    }
  for (int r : {inner - 4, outer + 5})
    for (QPoint p : around(centre, r))
      if (frame.rect().contains(p) && frame.pixelColor(p).alpha() > 30)
        return QStringLiteral("at (%1, %2), radius %3: drawn, want transparent")
            .arg(p.x())
            .arg(p.y())
            .arg(r);
  return {};
}

bool isShown() { return Module1::Overlay && !Module1::Overlay->IsClosed(); }

} // namespace

class TestTracking : public QObject {
  Q_OBJECT

  ScriptedInput input;
  std::unique_ptr<Window1> panel;

  QString caption() const { return panel->PushButton1()->text(); }

  // A Control Panel whose first overlay exists. With manual ticks, Timer1 is off and
  // the test calls Timer1_Action itself.
  void openPanel(bool manualTicks, bool shown = true) {
    panel = std::make_unique<Window1>();
    if (manualTicks)
      panel->Timer1()->Mode(Timer::ModeOff);
    panel->show();
    QTRY_VERIFY(isShown());
    if (!shown) {
      panel->PushButton1()->click();
      QCOMPARE(caption(), QStringLiteral("Show"));
      QVERIFY(!isShown());
    }
    input.clear();
  }

  // Waits for the tick that sees the mouse button down; returns its time.
  qint64 clickOnce() {
    qint64 at = -1;
    input.onMouseDown = [&] {
      at = input.clock.elapsed();
      input.mouse = false;
      input.onMouseDown = nullptr;
    };
    input.mouse = true;
    [&] { QTRY_VERIFY_WITH_TIMEOUT(at >= 0, 2000); }();
    return at;
  }

  // The first Refresh after `t` ms, or -1.
  qint64 firstRefreshAfter(qint64 t) const {
    for (qint64 r : input.refreshes)
      if (r > t)
        return r;
    return -1;
  }

private slots:
  void init() {
    prefModule::CircleSize = 100;
    prefModule::CircleLineWidth = 6;
    prefModule::AutoShutOff = false;
    prefModule::Window1Top = 70;
    prefModule::Window1Left = 10;
    Module1::CircleColor = RGBColor(0, 0, 255);
    input.reset();
    setGlobalInput(&input);
  }

  void cleanup() {
    panel.reset();
    Module1::Overlay.reset();
    setGlobalInput(nullptr);
  }

  void ringOrigin_data() {
    QTest::addColumn<int>("centre");
    QTest::addColumn<int>("diameter");
    QTest::addColumn<int>("origin");
    QTest::newRow("odd diameter") << 400 << 51 << 374;
    QTest::newRow("odd, other axis") << 300 << 51 << 274;
    QTest::newRow("negative truncates toward zero") << 10 << 51 << -15;
    QTest::newRow("even diameter") << 10 << 100 << -40;
    QTest::newRow("minus a half is zero") << 0 << 1 << 0;
    QTest::newRow("left of the window") << -3 << 4 << -5;
    QTest::newRow("far off the window saturates") << -2147483647 << 2147483647 << -2147483647 - 1;
  }
  void ringOrigin() {
    QFETCH(int, centre);
    QFETCH(int, diameter);
    QFETCH(int, origin);
    QCOMPARE(RingOrigin(centre, diameter), origin);
  }

  void overlayOverAvailableArea() {
    openPanel(true);
    MagnifyOverlay *overlay = Module1::Overlay.get();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QCOMPARE(QRect(overlay->Left(), overlay->Top(), overlay->Width(), overlay->Height()),
             QRect(0, 0, area.width(), area.height()));
    QVERIFY(overlay->Moveable);
    QVERIFY(!overlay->IgnoreClicks());
    QCOMPARE(caption(), QStringLiteral("Hide"));
  }

  // Each tick draws one ring around the pointer, as the settings are at that tick.
  void ringEachTick_data() {
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<QPoint>("overlayAt");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("width");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("defaults") << QPoint(400, 300) << QPoint(0, 0) << 100 << 6 << Blue;
    QTest::newRow("other settings")
        << QPoint(640, 400) << QPoint(0, 0) << 60 << 10 << QColor(0, 200, 0);
    QTest::newRow("odd size and width")
        << QPoint(333, 222) << QPoint(0, 0) << 51 << 5 << QColor(255, 128, 0);
    QTest::newRow("at the screen's corner") << QPoint(5, 5) << QPoint(0, 0) << 100 << 6 << Blue;
    // The overlay dragged by its ring: the ring still surrounds the pointer.
    QTest::newRow("overlay dragged") << QPoint(400, 300) << QPoint(150, -40) << 100 << 6 << Blue;
  }
  void ringEachTick() {
    QFETCH(QPoint, pointer);
    QFETCH(QPoint, overlayAt);
    QFETCH(int, size);
    QFETCH(int, width);
    QFETCH(QColor, colour);
    openPanel(true);
    MagnifyOverlay *overlay = Module1::Overlay.get();
    overlay->Left(overlayAt.x());
    overlay->Top(overlayAt.y());
    prefModule::CircleSize = size;
    prefModule::CircleLineWidth = width;
    Module1::CircleColor = RGBColor(colour.red(), colour.green(), colour.blue());
    input.pointer = pointer;
    panel->Timer1_Action(panel->Timer1());
    const QString problem = ringProblem(frameOf(overlay), pointer - overlayAt, size, width, colour);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // The next tick follows the pointer; nothing of the old ring remains.
    input.pointer = pointer + QPoint(200, 120);
    panel->Timer1_Action(panel->Timer1());
    const QImage moved = frameOf(overlay);
    QVERIFY(ringProblem(moved, input.pointer - overlayAt, size, width, colour).isEmpty());
    for (QPoint p : around(pointer - overlayAt, (size - width) / 2))
      if (moved.rect().contains(p))
        QCOMPARE(moved.pixelColor(p).alpha(), 0);
  }

  // One tick's chords: what the caption becomes and which keys were asked, in order.
  void chords_data() {
    QTest::addColumn<bool>("startShown");
    QTest::addColumn<bool>("control");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("queries");
    const QStringList both{"control", "shift", "alt", "shift", "mouse"};
    QTest::newRow("control+shift while shown does nothing")
        << true << true << false << true << "Hide"
        << QStringList{"control", "shift", "alt", "mouse"};
    QTest::newRow("control+shift while hidden shows")
        << false << true << false << true << "Hide"
        << QStringList{"control", "shift", "alt", "mouse"};
    QTest::newRow("alt+shift while shown hides") << true << false << true << true << "Show"
                                                 << QStringList{"control", "alt", "shift", "mouse"};
    QTest::newRow("alt+shift while hidden does nothing")
        << false << false << true << true << "Show"
        << QStringList{"control", "alt", "shift", "mouse"};
    QTest::newRow("all three while shown hide") << true << true << true << true << "Show" << both;
    QTest::newRow("all three while hidden show and hide again")
        << false << true << true << true << "Show" << both;
    QTest::newRow("shift alone is not asked further")
        << true << false << false << true << "Hide" << QStringList{"control", "alt", "mouse"};
    QTest::newRow("control+alt without shift") << false << true << true << false << "Show" << both;
  }
  void chords() {
    QFETCH(bool, startShown);
    QFETCH(bool, control);
    QFETCH(bool, alt);
    QFETCH(bool, shift);
    QFETCH(QString, after);
    QFETCH(QStringList, queries);
    openPanel(true, startShown);
    const MagnifyOverlay *before = Module1::Overlay.get();
    input.control = control;
    input.alt = alt;
    input.shift = shift;
    panel->Timer1_Action(panel->Timer1());
    QCOMPARE(input.queries, queries);
    QCOMPARE(caption(), after);
    input.control = input.alt = input.shift = false;

    // Let a started overlay thread run: the ring is shown exactly when the caption says.
    QTest::qWait(60);
    const bool shown = after == QLatin1String("Hide");
    QCOMPARE(isShown(), shown);
    QCOMPARE(Module1::Overlay.get() == before, startShown || !shown);
    if (shown)
      QVERIFY(ringProblem(frameOf(Module1::Overlay.get()), input.pointer, 100, 6, Blue).isEmpty());
    QCOMPARE(panel->Thread1()->IsRunning(), false);
  }

  // A click: the normal ring stays for the 0.1 s pause, then the red ring stays put
  // while tracking is frozen for the flash, then tracking resumes or, with auto
  // shut-off, the ring is switched off.
  void clickFlash_data() {
    QTest::addColumn<bool>("autoShutOff");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("auto shut-off off") << false << Blue;
    QTest::newRow("auto shut-off on, red ring colour") << true << QColor(255, 0, 0);
  }
  void clickFlash() {
    QFETCH(bool, autoShutOff);
    QFETCH(QColor, colour);
    prefModule::AutoShutOff = autoShutOff;
    Module1::CircleColor = RGBColor(colour.red(), colour.green(), colour.blue());
    openPanel(false);
    MagnifyOverlay *overlay = Module1::Overlay.get();

    // At the refresh after the pause: the normal ring is on, the size changes then.
    QString duringPause = QStringLiteral("no refresh after the pause");
    qint64 pauseEnded = -1, clickedAt = -1;
    const QPoint clickAt(500, 350), after(900, 600);
    input.pointer = clickAt - QPoint(3, 2);
    input.onMouseDown = [&] {
      clickedAt = input.clock.elapsed();
      input.mouse = false;
      input.onMouseDown = nullptr;
      input.onRefresh = [&] {
        input.onRefresh = nullptr;
        pauseEnded = input.clock.elapsed();
        duringPause = ringProblem(frameOf(overlay), input.pointer, 100, 6, colour);
        // The pointer has moved on during the pause; the red ring goes there, with the
        // size the setting has now.
        input.pointer = clickAt;
        prefModule::CircleSize = 80;
      };
    };
    input.mouse = true;
    QTRY_VERIFY_WITH_TIMEOUT(pauseEnded >= 0, 2000);
    QVERIFY2(duringPause.isEmpty(), qPrintable(duringPause));
    QVERIFY(pauseEnded - clickedAt >= 95);
    QCOMPARE(panel->Timer1()->Mode(), int(Timer::ModeOff));
    QCOMPARE(panel->Timer2()->Mode(), int(Timer::ModeSingle));

    QTest::qWait(0);
    QString red = ringProblem(frameOf(overlay), clickAt, 80, 6, ClickRed);
    QVERIFY2(red.isEmpty(), qPrintable(red));
    QCOMPARE(Module1::CircleDiameter, 80);

    // Frozen: the red ring stays where it was while the pointer moves away.
    prefModule::CircleSize = 100;
    input.pointer = after;
    QTest::qWait(600);
    red = ringProblem(frameOf(overlay), clickAt, 80, 6, ClickRed);
    QVERIFY2(red.isEmpty(), qPrintable(red));
    QCOMPARE(firstRefreshAfter(pauseEnded + 50), -1);

    QTRY_VERIFY_WITH_TIMEOUT(firstRefreshAfter(pauseEnded + 50) > 0, 3000);
    const qint64 resumed = firstRefreshAfter(pauseEnded + 50);
    // 1000 ms of the flash timer plus one tracking period, timed from the pause's end.
    QVERIFY2(resumed - pauseEnded >= 1020, qPrintable(QString::number(resumed - pauseEnded)));
    QVERIFY2(resumed - pauseEnded < 2500, qPrintable(QString::number(resumed - pauseEnded)));

    QTest::qWait(10);
    if (autoShutOff) {
      QCOMPARE(caption(), QStringLiteral("Show"));
      QVERIFY(!isShown());
    } else {
      QCOMPARE(caption(), QStringLiteral("Hide"));
      const QString back = ringProblem(frameOf(overlay), after, 100, 6, colour);
      QVERIFY2(back.isEmpty(), qPrintable(back));
    }
    QCOMPARE(panel->Timer1()->Mode(), int(Timer::ModeMultiple));
  }

  // Holding the button down flashes again after each freeze.
  void heldButtonRepeats() {
    openPanel(false);
    input.mouse = true;
    QList<qint64> clicks;
    input.onMouseDown = [&] { clicks.append(input.clock.elapsed()); };
    QTRY_VERIFY_WITH_TIMEOUT(clicks.size() >= 2, 4000);
    input.mouse = false;
    input.onMouseDown = nullptr;
    QVERIFY(clicks[1] - clicks[0] >= 1120);
    QCOMPARE(caption(), QStringLiteral("Hide"));
  }

  // Hiding through the button during the red second: auto shut-off then has
  // nothing to switch off, and the ring stays off.
  void buttonDuringFlash() {
    prefModule::AutoShutOff = true;
    openPanel(false);
    clickOnce();
    QTest::qWait(300);
    QCOMPARE(panel->Timer2()->Mode(), int(Timer::ModeSingle));
    panel->PushButton1()->click();
    QCOMPARE(caption(), QStringLiteral("Show"));
    QTRY_COMPARE_WITH_TIMEOUT(panel->Timer1()->Mode(), int(Timer::ModeMultiple), 2000);
    QTest::qWait(100);
    QCOMPARE(caption(), QStringLiteral("Show"));
    QVERIFY(!isShown());
  }

  // A click while hidden changes nothing visible but freezes polling: a chord pressed
  // and let go during the freeze is not seen; one still held when tracking resumes is.
  void clickWhileHidden_data() {
    QTest::addColumn<bool>("stillHeld");
    QTest::addColumn<QString>("after");
    QTest::newRow("chord let go during the freeze") << false << "Show";
    QTest::newRow("chord held until tracking resumes") << true << "Hide";
  }
  void clickWhileHidden() {
    QFETCH(bool, stillHeld);
    QFETCH(QString, after);
    openPanel(false, false);
    const MagnifyOverlay *before = Module1::Overlay.get();
    const qint64 clickedAt = clickOnce();
    QTest::qWait(150);
    QVERIFY(!isShown());
    input.control = input.shift = true;
    QTest::qWait(400);
    QCOMPARE(caption(), QStringLiteral("Show"));
    if (!stillHeld)
      input.control = input.shift = false;
    QTRY_VERIFY_WITH_TIMEOUT(firstRefreshAfter(clickedAt + 200) > 0, 3000);
    QVERIFY(firstRefreshAfter(clickedAt + 200) - clickedAt >= 1120);
    QTest::qWait(80);
    QCOMPARE(caption(), after);
    QCOMPARE(isShown(), stillHeld);
    QCOMPARE(Module1::Overlay.get() != before, stillHeld);
  }

  // Restoring the minimised Control Panel while the ring is hidden keeps it hidden;
  // while it is shown, restoring changes nothing.
  void restore_data() {
    QTest::addColumn<bool>("shown");
    QTest::newRow("hidden") << false;
    QTest::newRow("shown") << true;
  }
  void restore() {
    QFETCH(bool, shown);
    openPanel(false, shown);
    QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    const MagnifyOverlay *before = Module1::Overlay.get();
    panel->showMinimized();
    QTRY_VERIFY(panel->isMinimized());
    // Minimised, the chords work as usual: one switches the ring, the other back.
    input.shift = true;
    input.alt = shown;
    input.control = !shown;
    QTRY_COMPARE(caption(), QString(shown ? "Show" : "Hide"));
    input.alt = !shown;
    input.control = shown;
    QTRY_COMPARE(caption(), QString(shown ? "Hide" : "Show"));
    input.control = input.shift = input.alt = false;
    QTest::qWait(60);
    QCOMPARE(isShown(), shown);

    panel->showNormal();
    QTRY_VERIFY(!panel->isMinimized());
    QTest::qWait(60);
    QCOMPARE(caption(), QString(shown ? "Hide" : "Show"));
    QCOMPARE(isShown(), shown);
    if (shown)
      QVERIFY(Module1::Overlay.get() != before);
  }

  // Before the first overlay exists, every handler keeps its hands off it.
  void handlersBeforeFirstOverlay() {
    panel = std::make_unique<Window1>();
    panel->Timer1()->Mode(Timer::ModeOff);
    QVERIFY(!Module1::Overlay);
    input.control = input.shift = input.alt = true;
    panel->Timer1_Action(panel->Timer1());
    input.control = input.alt = false;
    panel->Timer1_Action(panel->Timer1());
    input.shift = false;
    input.mouse = true;
    panel->Timer1_Action(panel->Timer1());
    input.mouse = false;
    panel->Timer2_Action(panel->Timer2());
    panel->Event_Restore();
    QCOMPARE(caption(), QStringLiteral("Show"));
    for (int i = 0; i < 3; ++i)
      panel->PushButton1()->click();
    QVERIFY(!Module1::Overlay);
    QCOMPARE(caption(), QStringLiteral("Hide"));
    CircleCommands::DrawCircle();
    QTRY_VERIFY(isShown());
  }

  // The overlay thread: one run per start, a kill withdraws a start not yet begun
  // and leaves a finished run alone.
  void thread_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("runs");
    QTest::newRow("start") << "run wait" << 1;
    QTest::newRow("killed before it began") << "run kill wait" << 0;
    QTest::newRow("killed and started again") << "run kill run wait" << 1;
    QTest::newRow("started twice before it began") << "run run wait" << 1;
    QTest::newRow("killed after it ended") << "run wait kill wait" << 1;
    QTest::newRow("started after it ended") << "run wait kill run wait" << 2;
  }
  void thread() {
    QFETCH(QString, steps);
    QFETCH(int, runs);
    MyThread thread;
    int ran = 0;
    bool overlapped = false;
    connect(&thread, &MyThread::Event_Run, this, [&] {
      overlapped |= !thread.IsRunning();
      ++ran;
    });
    for (const QString &step : steps.split(u' ')) {
      if (step == QLatin1String("run")) {
        thread.Run();
        QVERIFY(thread.IsRunning());
      } else if (step == QLatin1String("kill")) {
        thread.Kill();
        QVERIFY(!thread.IsRunning());
      } else {
        QTest::qWait(20);
        QVERIFY(!thread.IsRunning());
      }
    }
    QCOMPARE(ran, runs);
    QVERIFY(!overlapped);
  }

  // Below the menu bar the application gives it, with room for every menu title: the
  // button at 14, 14, 60 x 20, bold, in a content area of at least 64 x 64; the window
  // cannot be resized.
  void layout() {
    openPanel(true);
    auto *bar = new QMenuBar;
    bar->addMenu(QStringLiteral("File"));
    bar->addMenu(QStringLiteral("Check for Update"));
    bar->addMenu(QStringLiteral("Vidurara Help"));
    panel->setMenuBar(bar);
    QVERIFY(QTest::qWaitForWindowExposed(panel.get()));
    QTest::qWait(50);
    QPushButton *button = panel->PushButton1();
    QVERIFY(button->isVisible());
    QVERIFY(button->font().bold());
    QCOMPARE(button->geometry(), QRect(14, 14, 60, 20));
    QCOMPARE(button->mapTo(panel.get(), QPoint(0, 0)), QPoint(14, bar->height() + 14));
    QVERIFY(bar->isVisible());
    QVERIFY(bar->height() > 0);
    // No menu title is pushed into the overflow button.
    for (QAction *menu : bar->actions())
      QVERIFY(bar->rect().contains(bar->actionGeometry(menu)));
    QVERIFY(panel->centralWidget()->width() >= 64);
    QVERIFY(panel->centralWidget()->height() >= 64);
    QCOMPARE(panel->height(), bar->height() + panel->centralWidget()->height());
    QCOMPARE(panel->minimumSize(), panel->maximumSize());
    QVERIFY(panel->width() < 300 && panel->height() < 200);
    QCOMPARE(panel->windowTitle(), QStringLiteral("Vidurara"));
    QVERIFY(!(panel->windowFlags() & Qt::WindowMaximizeButtonHint));
  }
};

QTEST_MAIN(TestTracking)
#include "test_tracking.moc"
