// Vidurara: a ring around the mouse pointer for presentations.
// The Preferences window with the whole program running: each change shows on the
// ring on screen at the next ticks, read back from the composited screen.
#include "App.h"
#include "AppTestMain.h"
#include "PrefWindow.h"
#include "SingleInstance.h"
#include "TestSupport.h"
#include "Window1.h"
#include "WindowTestSupport.h"
#include "prefModule.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

using testsupport::xdotool;

namespace {

const QPoint restingPlace(900, 450);
const QColor clickRed(200, 0, 0);

bool pointerTo(QPoint global) {
  return xdotool(
      {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
}

// A click held long enough for the 25 ms poll to see the button down.
bool slowClick() {
  if (!xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}))
    return false;
  QTest::qWait(120);
  return xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
}

bool key(const char *name) { return xdotool({QStringLiteral("key"), QString::fromLatin1(name)}); }

// The ring as the screen shows it along the row through `centre`, to the right: the
// distances of its first and last pixel of `colour`. -1 when there is none.
struct RingCut {
  int inner = -1;
  int outer = -1;
  int thickness() const { return outer < 0 ? 0 : outer - inner + 1; }
};
RingCut ringAt(QPoint centre, QColor colour) {
  const QImage screen = testsupport::grabScreen();
  RingCut cut;
  for (int d = 0; d < 160 && screen.rect().contains(centre + QPoint(d, 0)); ++d) {
    // Edge pixels are blended with what lies beneath; count those mostly covered.
    if (testsupport::near(screen.pixelColor(centre + QPoint(d, 0)), colour, 60)) {
      if (cut.inner < 0)
        cut.inner = d;
      cut.outer = d;
    } else if (cut.inner >= 0) {
      break;
    }
  }
  return cut;
}

// The outer edge has radius size/2 and the line is `width` thick, give or take the
// anti-aliased edge pixels.
bool ringIs(QPoint centre, QColor colour, int size, int width) {
  const RingCut cut = ringAt(centre, colour);
  return cut.outer >= 0 && std::abs(cut.outer - size / 2) <= 2 &&
         std::abs(cut.thickness() - width) <= 2;
}

QString describe(QPoint centre, QColor colour) {
  const RingCut cut = ringAt(centre, colour);
  return QStringLiteral("ring seen from %1 to %2").arg(cut.inner).arg(cut.outer);
}

} // namespace

class TestPrefWindowRing : public QObject {
  Q_OBJECT

public:
  explicit TestPrefWindowRing(App &app) : app_(app) {}

private:
  App &app_;

  Window1 *panel() const { return SingleInstance<Window1>::find(); }
  QPushButton *button() const {
    return panel()->findChild<QPushButton *>(QStringLiteral("PushButton1"));
  }

  // The Preferences command, with the window in front and keyboard focus on `name`.
  PrefWindow *openWith(const char *focus) {
    app_._ViduraraHelpPreferences_Action();
    PrefWindow *w = SingleInstance<PrefWindow>::find();
    if (!w || !QTest::qWaitForWindowExposed(w))
      return nullptr;
    w->activateWindow();
    if (!QTest::qWaitFor([w]() { return w->isActiveWindow(); }))
      return nullptr;
    if (focus) {
      auto *c = w->findChild<QWidget *>(QString::fromLatin1(focus));
      c->setFocus();
      if (!QTest::qWaitFor([c]() { return c->hasFocus(); }))
        return nullptr;
    }
    return w;
  }

  void settle(int size, int width, ColorValue color) {
    prefModule::CircleSize = size;
    prefModule::CircleLineWidth = width;
    prefModule::AutoShutOff = false;
    Module1::CircleColor = color;
  }

private slots:
  void initTestCase() {
    QVERIFY(pointerTo(restingPlace));
    app_.Event_Open();
    QVERIFY(panel());
    QVERIFY(QTest::qWaitForWindowExposed(panel()));
    QTRY_VERIFY_WITH_TIMEOUT(Module1::Overlay, 10000);
    // The first run has no preferences file: the defaults, a blue ring of 100 and 6.
    QTRY_VERIFY2(ringIs(restingPlace, Qt::blue, 100, 6),
                 qPrintable(describe(restingPlace, Qt::blue)));
  }

  void cleanup() {
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    if (PrefWindow *w = SingleInstance<PrefWindow>::find()) {
      QVERIFY(windowtest::closeLikeCloseBox(w));
      QTRY_VERIFY(!SingleInstance<PrefWindow>::find());
    }
    QVERIFY(pointerTo(restingPlace));
  }

  void sliderKeys_data() {
    QTest::addColumn<QByteArray>("slider");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("width");
    QTest::newRow("bigger") << QByteArray("Slider2") << QByteArray("End") << 200 << 6;
    QTest::newRow("smaller") << QByteArray("Slider2") << QByteArray("Home") << 50 << 6;
    QTest::newRow("page up") << QByteArray("Slider2") << QByteArray("Prior") << 120 << 6;
    QTest::newRow("thicker") << QByteArray("Slider3") << QByteArray("End") << 100 << 8;
    QTest::newRow("thinner") << QByteArray("Slider3") << QByteArray("Home") << 100 << 4;
  }
  void sliderKeys() {
    QFETCH(QByteArray, slider);
    QFETCH(QByteArray, key);
    QFETCH(int, size);
    QFETCH(int, width);
    const QColor magenta(255, 0, 255);
    settle(100, 6, RGBColor(255, 0, 255));
    QVERIFY(openWith(slider.constData()));
    QTRY_VERIFY2(ringIs(restingPlace, magenta, 100, 6),
                 qPrintable(describe(restingPlace, magenta)));
    QVERIFY(::key(key.constData()));
    QTRY_VERIFY2(ringIs(restingPlace, magenta, size, width),
                 qPrintable(describe(restingPlace, magenta)));
  }

  // Holding the button flashes the red ring about every 1.1 s in the size of that
  // moment: the ring grows while the drag goes on.
  void dragResizesWhileDragging() {
    settle(60, 6, RGBColor(0, 160, 0));
    PrefWindow *w = openWith(nullptr);
    QVERIFY(w);
    auto *slider = w->findChild<QSlider *>(QStringLiteral("Slider2"));
    QVERIFY(pointerTo(slider->mapToGlobal(windowtest::sliderHandleRect(slider).center())));
    QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    QTRY_VERIFY(slider->isSliderDown());
    int last = prefModule::CircleSize;
    for (int step = 0; step < 2; ++step) {
      QVERIFY(xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"),
                       QStringLiteral("25"), QStringLiteral("0")}));
      QTRY_VERIFY(prefModule::CircleSize > last);
      last = prefModule::CircleSize;
      const QPoint at = QCursor::pos();
      QTRY_VERIFY2_WITH_TIMEOUT(ringIs(at, clickRed, last, 6), qPrintable(describe(at, clickRed)),
                                5000);
      QVERIFY2(slider->isSliderDown(), "the drag was still going on");
    }
    QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
  }

  void colour_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true;
    QTest::newRow("cancelled") << false;
  }
  void colour() {
    QFETCH(bool, confirm);
    const QColor before(0, 0, 255), chosen(255, 140, 0);
    settle(100, 6, RGBColor(0, 0, 255));
    PrefWindow *w = openWith(nullptr);
    QVERIFY(w);
    windowtest::ModalAnswerer answer([&](QWidget *modal) {
      auto *dialog = qobject_cast<QColorDialog *>(modal);
      if (!dialog) {
        modal->close();
        return;
      }
      dialog->setCurrentColor(chosen);
      if (confirm)
        dialog->accept();
      else
        dialog->reject();
    });
    QVERIFY(
        pointerTo(w->findChild<QWidget *>(QStringLiteral("Canvas1"))->mapToGlobal(QPoint(12, 12))));
    QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_VERIFY_WITH_TIMEOUT(answer.answered(), 10000);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(pointerTo(restingPlace));
    const QColor expected = confirm ? chosen : before;
    // The click on the swatch also flashed the ring; on a loaded machine the flash and
    // the dialog's closing take a few seconds.
    QTRY_VERIFY2_WITH_TIMEOUT(ringIs(restingPlace, expected, 100, 6),
                              qPrintable(describe(restingPlace, expected)), 15000);
  }

  // Ticked and not yet closed: the next click switches the ring off after its flash.
  void autoOffBeforeClose() {
    settle(100, 6, RGBColor(0, 0, 255));
    QVERIFY(openWith("AutoOff"));
    QVERIFY(key("space"));
    QTRY_VERIFY(prefModule::AutoShutOff);
    QVERIFY(SingleInstance<PrefWindow>::find());
    QTRY_VERIFY(ringIs(restingPlace, Qt::blue, 100, 6));
    QVERIFY(slowClick());
    QTRY_VERIFY(ringIs(restingPlace, clickRed, 100, 6));
    QTRY_COMPARE(button()->text(), QStringLiteral("Show"));
    QTRY_COMPARE(ringAt(restingPlace, Qt::blue).outer, -1);
    QCOMPARE(ringAt(restingPlace, clickRed).outer, -1);

    // Unticked again, the ring comes back with the button and stays after a click.
    QVERIFY(openWith("AutoOff"));
    QVERIFY(key("space"));
    QTRY_VERIFY(!prefModule::AutoShutOff);
    QVERIFY(pointerTo(restingPlace));
    button()->click();
    QTRY_COMPARE(button()->text(), QStringLiteral("Hide"));
    QTRY_VERIFY(ringIs(restingPlace, Qt::blue, 100, 6));
    QVERIFY(slowClick());
    QTRY_VERIFY(ringIs(restingPlace, clickRed, 100, 6));
    QTest::qWait(1500);
    QCOMPARE(button()->text(), QStringLiteral("Hide"));
    QTRY_VERIFY(ringIs(restingPlace, Qt::blue, 100, 6));
  }
};

int main(int argc, char **argv) { return runWithApp<TestPrefWindowRing>(argc, argv); }

#include "test_prefwindow_ring.moc"
