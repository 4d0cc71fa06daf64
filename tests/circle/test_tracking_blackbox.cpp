// Vidurara: a ring around the mouse pointer for presentations.
// The real program under the test's X session (compositing and window manager):
// pointer, keys and clicks through XTEST, the ring read back from the screen.
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include <cstdlib>
#include <memory>

using testsupport::grabScreen;
using testsupport::xdotool;

namespace {

const QColor Blue(0, 0, 255);
const QColor ClickRed(200, 0, 0);
const QColor Beneath(230, 220, 150);

QStringList args(const QString &line) { return line.split(u' ', Qt::SkipEmptyParts); }

// A window of another application: one colour, and it records the presses it gets.
class Backdrop : public QWidget {
public:
  explicit Backdrop(QColor colour, Qt::WindowFlags flags = {}) : QWidget(nullptr, flags) {
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
    setAutoFillBackground(true);
  }
  QList<QPoint> presses; // global positions

protected:
  void mousePressEvent(QMouseEvent *e) override { presses.append(e->globalPosition().toPoint()); }
};

// Pixels at distance r + 0.5 from `centre` (a pixel corner) in the four directions.
QList<QPoint> around(QPoint centre, int r) {
  return {centre + QPoint(r, 0), centre + QPoint(-r - 1, 0), centre + QPoint(0, r),
          centre + QPoint(0, -r - 1)};
}

// Empty when the screen shows the ring of outer diameter `size` and thickness `width`
// around `centre` in `colour`, with `background` just inside and outside it. Even sizes
// are centred exactly, so every radius the stroke covers is checked; odd ones keep a
// pixel's margin.
QString ringProblem(const QImage &screen, QPoint centre, int size, int width, QColor colour,
                    QColor background) {
  const int outer = size / 2, inner = outer - width;
  const bool exact = size % 2 == 0 && width % 2 == 0;
  const auto describe = [&](QPoint p, int r, QColor want) {
    return QStringLiteral("(%1, %2) at radius %3: %4, want %5")
        .arg(p.x())
        .arg(p.y())
        .arg(r)
        .arg(screen.pixelColor(p).name(), want.name());
  };
  for (int r = inner + (exact ? 0 : 2); r <= outer - (exact ? 1 : 2); ++r)
    for (QPoint p : around(centre, r))
      if (screen.rect().contains(p) && !testsupport::near(screen.pixelColor(p), colour, 12))
        return describe(p, r, colour);
  for (int r : {inner - 4, outer + 5})
    for (QPoint p : around(centre, r))
      if (screen.rect().contains(p) && !testsupport::near(screen.pixelColor(p), background, 12))
        return describe(p, r, background);
  return {};
}

// How many pixels of the screen show `colour`.
int pixelsOf(const QImage &screen, QColor colour) {
  const QImage image = screen.convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      n += std::abs(qRed(line[x]) - colour.red()) <= 24 &&
           std::abs(qGreen(line[x]) - colour.green()) <= 24 &&
           std::abs(qBlue(line[x]) - colour.blue()) <= 24;
  }
  return n;
}

bool movePointer(QPoint p) {
  return xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
}

// The client window's absolute position and size as the X server has it.
QRect xGeometry(const QString &id) {
  QString out;
  if (!testsupport::run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}, &out))
    return {};
  const auto value = [&](const char *name) {
    const QRegularExpression re(QString::fromLatin1(name) + QStringLiteral(":\\s+(-?\\d+)"));
    return re.match(out).captured(1).toInt();
  };
  return QRect(value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"),
               value("Height"));
}

// The program with a configuration folder of its own.
class Program {
public:
  // A null `prefs` writes no file; an empty one writes an empty file.
  explicit Program(const QByteArray &prefs = {}) {
    if (!prefs.isNull()) {
      QFile file(config.filePath(QStringLiteral("vidurara3.txt")));
      if (file.open(QIODevice::WriteOnly))
        file.write(prefs);
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(VIDURARA_EXECUTABLE), {});
  }
  ~Program() {
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished();
    }
  }

  // The Control Panel's window id, once the window manager manages it.
  QString panel() {
    if (!panelId.isEmpty())
      return panelId;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
      QString out;
      testsupport::run(QStringLiteral("wmctrl"), {QStringLiteral("-lp")}, &out);
      for (const QString &line : out.split(u'\n')) {
        const QStringList f = line.split(u' ', Qt::SkipEmptyParts);
        if (f.size() >= 5 && f[2].toLongLong() == process.processId() &&
            f.mid(4).join(u' ') == QLatin1String("Vidurara"))
          return panelId = f[0];
      }
      QTest::qWait(50);
    }
    return {};
  }

  QString prefsFile() const {
    QFile file(config.filePath(QStringLiteral("vidurara3.txt")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
  }

  QTemporaryDir config;
  QTemporaryDir runtime;
  QProcess process;
  QString panelId;
};

QByteArray prefs(int size, int width, QColor colour, bool autoShutOff) {
  return QStringLiteral("#Window1Position 70,10\n#AutoShutOff %1\n#MyColor %2,%3,%4\n"
                        "#CircleSize %5\n#CircleLineWidth %6\n")
      .arg(autoShutOff ? "True" : "False")
      .arg(colour.red())
      .arg(colour.green())
      .arg(colour.blue())
      .arg(size)
      .arg(width)
      .toLatin1();
}

} // namespace

class TestTrackingBlackbox : public QObject {
  Q_OBJECT

  std::unique_ptr<Backdrop> backdrop;
  std::unique_ptr<Program> program;
  const QPoint home{600, 400};

  // Starts the program over the backdrop and waits for its ring around `home`.
  void start(const QByteArray &prefsText = {}, int size = 100, int width = 6,
             QColor colour = Blue) {
    QVERIFY(movePointer(home));
    program = std::make_unique<Program>(prefsText);
    QVERIFY(program->process.waitForStarted());
    QVERIFY(!program->panel().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(
        ringProblem(grabScreen(), home, size, width, colour, Beneath).isEmpty(), 10000);
  }

  // The Control Panel's content below the menu bar (its bottom 64 rows, where the
  // button is), for telling its caption from an earlier look.
  QImage buttonImage() {
    const QRect g = xGeometry(program->panel());
    return grabScreen().copy(g.adjusted(0, g.height() - 64, 0, 0));
  }

  void chord(const char *keys) {
    QVERIFY(xdotool({QStringLiteral("keydown"), QString::fromLatin1(keys)}));
    QTest::qWait(120);
    QVERIFY(xdotool({QStringLiteral("keyup"), QString::fromLatin1(keys)}));
  }

  // Presses the button long enough for the 25 ms polling to see it.
  void click() {
    QVERIFY(xdotool(args(QStringLiteral("mousedown 1"))));
    QTest::qWait(80);
    QVERIFY(xdotool(args(QStringLiteral("mouseup 1"))));
  }

private slots:
  void initTestCase() {
    backdrop = std::make_unique<Backdrop>(Beneath);
    backdrop->setGeometry(200, 150, 900, 600);
    backdrop->show();
    QVERIFY(QTest::qWaitForWindowExposed(backdrop.get()));
  }

  void init() {
    backdrop->presses.clear();
    backdrop->activateWindow();
    backdrop->raise();
  }

  void cleanup() { program.reset(); }

  // The ring as the preferences file sets it, around the pointer, following it.
  void ring_data() {
    QTest::addColumn<QByteArray>("prefsText");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("width");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("no file: defaults") << QByteArray() << 100 << 6 << Blue;
    QTest::newRow("from the file")
        << prefs(60, 10, QColor(0, 160, 0), false) << 60 << 10 << QColor(0, 160, 0);
    QTest::newRow("odd size and width")
        << prefs(81, 7, QColor(255, 0, 255), false) << 81 << 7 << QColor(255, 0, 255);
  }
  void ring() {
    QFETCH(QByteArray, prefsText);
    QFETCH(int, size);
    QFETCH(int, width);
    QFETCH(QColor, colour);
    start(prefsText, size, width, colour);
    if (QTest::currentTestFailed())
      return;
    const QString problem = ringProblem(grabScreen(), home, size, width, colour, Beneath);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // Two ticks later the ring surrounds the new position, and the old one is gone.
    const QPoint to = home + QPoint(170, -90);
    QVERIFY(movePointer(to));
    QTest::qWait(50);
    const QImage screen = grabScreen();
    const QString moved = ringProblem(screen, to, size, width, colour, Beneath);
    QVERIFY2(moved.isEmpty(), qPrintable(moved));
    for (QPoint p : around(home, (size - width) / 2))
      QVERIFY(testsupport::near(screen.pixelColor(p), Beneath));
  }

  // The chords, whichever window has the focus and also while the Control Panel is
  // minimised.
  void chords_data() {
    QTest::addColumn<bool>("minimised");
    QTest::newRow("another application in front") << false;
    QTest::newRow("Control Panel minimised") << true;
  }
  void chords() {
    QFETCH(bool, minimised);
    start();
    if (QTest::currentTestFailed())
      return;
    if (minimised)
      QVERIFY(xdotool({QStringLiteral("windowminimize"), program->panel()}));
    QTRY_VERIFY(backdrop->isActiveWindow() || minimised);

    chord("alt+shift");
    QTRY_COMPARE(pixelsOf(grabScreen(), Blue), 0);
    QTest::qWait(200);
    QCOMPARE(pixelsOf(grabScreen(), Blue), 0);

    chord("ctrl+shift");
    QTRY_VERIFY(ringProblem(grabScreen(), home, 100, 6, Blue, Beneath).isEmpty());
    // Control+Shift again while shown changes nothing.
    chord("ctrl+shift");
    QTest::qWait(100);
    QVERIFY(ringProblem(grabScreen(), home, 100, 6, Blue, Beneath).isEmpty());
    QCOMPARE(program->process.state(), QProcess::Running);
  }

  // A click: the red ring at the click position, unmoved for about a second while the
  // pointer goes elsewhere; then the normal ring around the pointer or, with auto
  // shut-off, no ring and the caption "Show".
  void clickFlash_data() {
    QTest::addColumn<bool>("autoShutOff");
    QTest::addColumn<bool>("quick");         // released within a millisecond, between two polls
    QTest::addColumn<bool>("againWhileRed"); // a second click while tracking is frozen
    QTest::newRow("auto shut-off off") << false << false << false;
    QTest::newRow("auto shut-off on") << true << false << false;
    QTest::newRow("quick click") << false << true << false;
    QTest::newRow("second click while red") << false << true << true;
  }
  void clickFlash() {
    QFETCH(bool, autoShutOff);
    QFETCH(bool, quick);
    QFETCH(bool, againWhileRed);
    start(prefs(100, 6, Blue, autoShutOff));
    if (QTest::currentTestFailed())
      return;
    QElapsedTimer clock;
    clock.start();
    if (quick)
      QVERIFY(xdotool(args(QStringLiteral("click 1"))));
    else
      click();
    QTest::qWait(150);
    // After the click, which may have moved the focus: the caption is still "Hide".
    const QImage hideCaption = buttonImage();
    const QPoint away = home + QPoint(-250, 150);
    QVERIFY(movePointer(away));
    QTest::qWait(150);
    QImage screen = grabScreen();
    QString red = ringProblem(screen, home, 100, 6, ClickRed, Beneath);
    QVERIFY2(red.isEmpty(), qPrintable(red));
    QCOMPARE(pixelsOf(screen, Blue), 0);
    QTest::qWait(400);
    red = ringProblem(grabScreen(), home, 100, 6, ClickRed, Beneath);
    QVERIFY2(red.isEmpty(), qPrintable(red));
    QVERIFY(clock.elapsed() < 1000);
    // Frozen tracking sees no click: this one must not bring a second flash later.
    if (againWhileRed)
      QVERIFY(xdotool(args(QStringLiteral("click 1"))));

    if (!autoShutOff) {
      QTRY_VERIFY(ringProblem(grabScreen(), away, 100, 6, Blue, Beneath).isEmpty());
      QVERIFY(clock.elapsed() >= 1000);
      QCOMPARE(pixelsOf(grabScreen(), ClickRed), 0);
      QTest::qWait(300);
      QCOMPARE(pixelsOf(grabScreen(), ClickRed), 0);
      return;
    }
    QTRY_COMPARE(pixelsOf(grabScreen(), ClickRed), 0);
    QVERIFY(clock.elapsed() >= 1000);
    QTest::qWait(200);
    screen = grabScreen();
    QCOMPARE(pixelsOf(screen, Blue), 0);
    QCOMPARE(pixelsOf(screen, ClickRed), 0);
    // The caption has changed, and it is "Show": Control+Shift brings the ring back
    // and the caption of the start.
    QVERIFY(buttonImage() != hideCaption);
    chord("ctrl+shift");
    QTRY_VERIFY(ringProblem(grabScreen(), away, 100, 6, Blue, Beneath).isEmpty());
    QTRY_COMPARE(buttonImage(), hideCaption);
  }

  // A press where the overlay is transparent (inside the ring) reaches the window
  // beneath.
  // Also when hand-edited settings leave the ring no hole: a dot or a disc under the
  // pointer would take every click of the desktop.
  void clickThrough_data() {
    QTest::addColumn<QByteArray>("prefsText");
    QTest::addColumn<bool>("ringShows");
    QTest::newRow("default ring") << QByteArray() << true;
    QTest::newRow("empty file: size 0, line 0") << QByteArray("") << false;
    QTest::newRow("line wider than the ring") << prefs(5, 6, Blue, false) << false;
    QTest::newRow("thick line, no hole") << prefs(40, 20, Blue, false) << false;
  }
  void clickThrough() {
    QFETCH(QByteArray, prefsText);
    QFETCH(bool, ringShows);
    if (ringShows) {
      start(prefsText);
    } else {
      QVERIFY(movePointer(home));
      program = std::make_unique<Program>(prefsText);
      QVERIFY(program->process.waitForStarted());
      QVERIFY(!program->panel().isEmpty());
      QTest::qWait(500);
    }
    if (QTest::currentTestFailed())
      return;
    backdrop->presses.clear();
    QVERIFY(xdotool(args(QStringLiteral("click 1"))));
    QTRY_COMPARE(backdrop->presses.size(), 1);
    QCOMPARE(backdrop->presses.first(), home);
  }

  // The overlay dragged by its red ring during a flash: afterwards the ring still
  // surrounds the pointer.
  void dragOverlay() {
    start();
    if (QTest::currentTestFailed())
      return;
    click();
    QTRY_VERIFY(ringProblem(grabScreen(), home, 100, 6, ClickRed, Beneath).isEmpty());
    const QPoint onRing = home + QPoint(47, 0);
    QVERIFY(movePointer(onRing));
    QTest::qWait(60);
    const qsizetype pressesBeneath = backdrop->presses.size();
    QVERIFY(xdotool(args(QStringLiteral("mousedown 1"))));
    for (int i = 0; i < 8; ++i)
      QVERIFY(xdotool(args(QStringLiteral("mousemove_relative -- 15 5"))));
    QVERIFY(xdotool(args(QStringLiteral("mouseup 1"))));
    const QPoint pointer = onRing + QPoint(120, 40);
    // The red ring went with the window.
    QVERIFY(ringProblem(grabScreen(), home + QPoint(120, 40), 100, 6, ClickRed, Beneath).isEmpty());
    // The press on the ring was the overlay's.
    QCOMPARE(backdrop->presses.size(), pressesBeneath);
    QTRY_VERIFY(ringProblem(grabScreen(), pointer, 100, 6, Blue, Beneath).isEmpty());
  }

  // Windows that come to the front after the overlay, also ones that stay on top
  // themselves, stay beneath the ring.
  void staysAbove_data() {
    QTest::addColumn<bool>("staysOnTop");
    QTest::addColumn<bool>("fullScreen");
    QTest::newRow("window activated later") << false << false;
    QTest::newRow("stays-on-top window") << true << false;
    QTest::newRow("full-screen window, as a slide show") << false << true;
  }
  void staysAbove() {
    QFETCH(bool, staysOnTop);
    QFETCH(bool, fullScreen);
    start();
    if (QTest::currentTestFailed())
      return;
    const QColor colour(120, 200, 120);
    Backdrop later(colour, staysOnTop ? Qt::WindowStaysOnTopHint : Qt::WindowFlags());
    later.setGeometry(home.x() - 150, home.y() - 150, 300, 300);
    if (fullScreen)
      later.showFullScreen();
    else
      later.show();
    QVERIFY(QTest::qWaitForWindowExposed(&later));
    later.activateWindow();
    later.raise();
    QTRY_VERIFY(later.isActiveWindow());
    QTest::qWait(300);
    const QString problem = ringProblem(grabScreen(), home, 100, 6, Blue, colour);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
  }

  // Closing the Control Panel as its close box does saves its live position and ends
  // the program with 0, also during the red second of a click.
  void closeSaves_data() {
    QTest::addColumn<bool>("duringFlash");
    QTest::newRow("tracking") << false;
    QTest::newRow("during the red second") << true;
  }
  void closeSaves() {
    QFETCH(bool, duringFlash);
    const QColor colour(10, 20, 30);
    start(prefs(90, 4, colour, true), 90, 4, colour);
    if (QTest::currentTestFailed())
      return;
    const QString id = program->panel();
    QVERIFY(testsupport::run(QStringLiteral("wmctrl"),
                             args(QStringLiteral("-i -r %1 -e 0,333,222,-1,-1").arg(id))));
    QTRY_VERIFY(xGeometry(id).topLeft() != QPoint(10, 70));
    QTest::qWait(100);
    const QPoint live = xGeometry(id).topLeft();
    if (duringFlash) {
      click();
      QTest::qWait(200);
      QVERIFY(ringProblem(grabScreen(), home, 90, 4, ClickRed, Beneath).isEmpty());
    }
    QVERIFY(testsupport::run(QStringLiteral("wmctrl"),
                             {QStringLiteral("-i"), QStringLiteral("-c"), id}));
    QVERIFY(program->process.waitForFinished(5000));
    QCOMPARE(program->process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->process.exitCode(), 0);
    QCOMPARE(program->prefsFile().split(u'\n', Qt::SkipEmptyParts),
             (QStringList{QStringLiteral("#Window1Position %1,%2").arg(live.y()).arg(live.x()),
                          "#AutoShutOff True", "#MyColor 10,20,30", "#CircleSize 90",
                          "#CircleLineWidth 4"}));
    QCOMPARE(pixelsOf(grabScreen(), ClickRed), 0);
  }
};

QTEST_MAIN(TestTrackingBlackbox)
#include "test_tracking_blackbox.moc"
