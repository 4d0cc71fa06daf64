// Vidurara: a ring around the mouse pointer for presentations.
// The Preferences window under a real X session: its layout, loading the settings,
// writing them at once from real pointer and key input, the colour chooser answered by
// the test, and the save on close.
#include "PrefWindow.h"
#include "PrefsFile.h"
#include "SingleInstance.h"
#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "prefModule.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QTest>

using testsupport::xdotool;

namespace {

struct Settings {
  int size = 100;
  int width = 6;
  bool autoOff = false;
  ColorValue color = RGBColor(0, 0, 255);
};

void apply(const Settings &s) {
  prefModule::CircleSize = s.size;
  prefModule::CircleLineWidth = s.width;
  prefModule::AutoShutOff = s.autoOff;
  Module1::CircleColor = s.color;
}

template <typename T> T *control(QWidget *w, const char *name) {
  return w->findChild<T *>(QString::fromLatin1(name));
}

bool pointerTo(QPoint global) {
  return xdotool(
      {QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
}

bool key(const char *name) { return xdotool({QStringLiteral("key"), QString::fromLatin1(name)}); }

QColor screenPixel(QPoint global) { return testsupport::grabScreen().pixelColor(global); }

QColor toQColor(ColorValue c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

} // namespace

class TestPrefWindow : public QObject {
  Q_OBJECT

  QTemporaryDir config_;

  // What the Preferences command does, without the menu: one window, placed and shown.
  PrefWindow *open() {
    PrefWindow *w = SingleInstance<PrefWindow>::get();
    w->setGeometry(QRect(QPoint(20, 70), w->size()));
    w->show();
    w->raise();
    w->activateWindow();
    if (!QTest::qWaitForWindowExposed(w))
      return nullptr;
    return w;
  }

  bool closeByCloseBox() {
    PrefWindow *w = SingleInstance<PrefWindow>::find();
    if (!w)
      return true;
    if (!windowtest::closeLikeCloseBox(w))
      return false;
    return QTest::qWaitFor([]() { return !SingleInstance<PrefWindow>::find(); }, 5000);
  }

  bool activate(QWidget *w) {
    w->activateWindow();
    return QTest::qWaitFor([w]() { return w->isActiveWindow(); }, 5000);
  }

  QString prefsFile() const { return config_.path() + QStringLiteral("/vidurara3.txt"); }

private slots:
  void initTestCase() {
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    QCOMPARE(prefModule::prefsLocation().value_or(QString()), prefsFile());
  }

  void cleanup() {
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QVERIFY(closeByCloseBox());
  }

  void window() {
    apply(Settings());
    PrefWindow *w = open();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Preferences"));
    QCOMPARE(w->size(), QSize(248, 161));
    QCOMPARE(w->minimumSize(), QSize(248, 161));
    QCOMPARE(w->maximumSize(), QSize(248, 161));
    const Qt::WindowFlags flags = w->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QCOMPARE(windowtest::xContentOrigin(w), QPoint(20, 70));
  }

  void controls_data() {
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("takesFocus");
    QTest::addColumn<int>("creationIndex");
    QTest::newRow("AutoOff") << "QCheckBox" << QRect(20, 15, 208, 20)
                             << "Turn Circle Off After Mouse Click" << true << 0;
    QTest::newRow("Sample") << "PrefSwatch" << QRect(153, 47, 25, 25) << "" << false << 1;
    QTest::newRow("Canvas1") << "PrefCanvas" << QRect(153, 47, 25, 25) << "" << false << 2;
    QTest::newRow("Slider2") << "QSlider" << QRect(130, 86, 95, 23) << "" << true << 3;
    QTest::newRow("Slider3") << "QSlider" << QRect(130, 124, 95, 23) << "" << true << 4;
    QTest::newRow("Label1") << "QLabel" << QRect(70, 47, 71, 20) << "Circle Color" << false << 5;
    QTest::newRow("Label4") << "QLabel" << QRect(24, 84, 67, 20) << "Circle Size" << false << 6;
    QTest::newRow("Label2") << "QLabel" << QRect(24, 121, 100, 20) << "Circle Thickness" << false
                            << 7;
  }
  void controls() {
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    QFETCH(bool, takesFocus);
    QFETCH(int, creationIndex);
    apply(Settings());
    PrefWindow *w = open();
    QVERIFY(w);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    auto *c = w->findChild<QWidget *>(name);
    QVERIFY2(c, qPrintable(name));
    QCOMPARE(QString::fromLatin1(c->metaObject()->className()), className);
    QCOMPARE(c->geometry(), geometry);
    QVERIFY(c->isVisible());
    QCOMPARE(bool(c->focusPolicy() & Qt::TabFocus), takesFocus);
    QCOMPARE(w->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).indexOf(c),
             creationIndex);
    if (!text.isEmpty()) {
      const QString shown = qobject_cast<QLabel *>(c) ? qobject_cast<QLabel *>(c)->text()
                                                      : qobject_cast<QCheckBox *>(c)->text();
      QCOMPARE(shown, text);
      QCOMPARE(c->font().family(), QStringLiteral("Helvetica Neue"));
      QVERIFY(c->font().bold());
      QCOMPARE(c->palette().color(QPalette::WindowText), QColor(Qt::black));
      // The substitute font must not cut the caption off.
      QVERIFY2(c->sizeHint().width() <= c->width(),
               qPrintable(QStringLiteral("%1 needs %2 px").arg(text).arg(c->sizeHint().width())));
    }
  }

  void sliders_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::newRow("Slider2") << 50 << 200;
    QTest::newRow("Slider3") << 4 << 8;
  }
  void sliders() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    apply(Settings());
    PrefWindow *w = open();
    QVERIFY(w);
    auto *s = w->findChild<QSlider *>(QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(s);
    QCOMPARE(s->orientation(), Qt::Horizontal);
    QCOMPARE(s->minimum(), minimum);
    QCOMPARE(s->maximum(), maximum);
    QCOMPARE(s->singleStep(), 1);
    QCOMPARE(s->pageStep(), 20);
    QCOMPARE(s->tickPosition(), QSlider::NoTicks);
    QVERIFY(s->hasTracking());
  }

  // Real Tab presses walk AutoOff, Slider2, Slider3 and round again.
  void tabOrder() {
    apply(Settings());
    PrefWindow *w = open();
    QVERIFY(w);
    QVERIFY(activate(w));
    control<QCheckBox>(w, "AutoOff")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>(w, "AutoOff"));
    for (const char *next : {"Slider2", "Slider3", "AutoOff"}) {
      QVERIFY(key("Tab"));
      QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>(w, next));
    }
  }

  // A setting outside a slider's range shows at the nearest end and is brought there.
  void loadsSettings_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("autoOff");
    QTest::addColumn<uint>("color");
    QTest::addColumn<int>("shownSize");
    QTest::addColumn<int>("shownWidth");
    QTest::newRow("defaults") << 100 << 6 << false << uint(RGBColor(0, 0, 255)) << 100 << 6;
    QTest::newRow("changed earlier") << 173 << 7 << true << uint(RGBColor(10, 200, 30)) << 173 << 7;
    QTest::newRow("lower ends") << 50 << 4 << true << uint(RGBColor(255, 255, 0)) << 50 << 4;
    QTest::newRow("upper ends") << 200 << 8 << false << uint(RGBColor(128, 0, 128)) << 200 << 8;
    QTest::newRow("empty file: zeros") << 0 << 0 << false << uint(0) << 50 << 4;
    QTest::newRow("hand-edited: too big")
        << 5000 << 99 << false << uint(RGBColor(255, 0, 0)) << 200 << 8;
    QTest::newRow("negative") << -20 << -3 << true << uint(RGBColor(0, 128, 128)) << 50 << 4;
  }
  void loadsSettings() {
    QFETCH(int, size);
    QFETCH(int, width);
    QFETCH(bool, autoOff);
    QFETCH(uint, color);
    QFETCH(int, shownSize);
    QFETCH(int, shownWidth);
    apply({size, width, autoOff, ColorValue(color)});
    PrefWindow *w = open();
    QVERIFY(w);
    QCOMPARE(control<QSlider>(w, "Slider2")->value(), shownSize);
    QCOMPARE(control<QSlider>(w, "Slider3")->value(), shownWidth);
    QCOMPARE(control<QCheckBox>(w, "AutoOff")->isChecked(), autoOff);
    QCOMPARE(prefModule::CircleSize, shownSize);
    QCOMPARE(prefModule::CircleLineWidth, shownWidth);
    QCOMPARE(prefModule::AutoShutOff, autoOff);
    QCOMPARE(Module1::CircleColor, ColorValue(color));

    // The swatch on screen: the colour inside a black 1-pixel frame.
    QWidget *sample = control<QWidget>(w, "Sample");
    const QPoint centre = sample->mapToGlobal(QPoint(12, 12));
    QTRY_VERIFY(testsupport::near(screenPixel(centre), toQColor(ColorValue(color)), 2));
    const QImage screen = testsupport::grabScreen();
    for (QPoint edge : {QPoint(0, 12), QPoint(24, 12), QPoint(12, 0), QPoint(12, 24)})
      QVERIFY(testsupport::near(screen.pixelColor(sample->mapToGlobal(edge)), Qt::black, 2));
    for (QPoint inside : {QPoint(1, 12), QPoint(23, 12), QPoint(12, 1), QPoint(12, 23)})
      QVERIFY(testsupport::near(screen.pixelColor(sample->mapToGlobal(inside)),
                                toQColor(ColorValue(color)), 2));
  }

  // A window opened again shows what was set in the one before.
  void reopenShowsEarlierChanges() {
    apply(Settings());
    PrefWindow *w = open();
    QVERIFY(w);
    QVERIFY(activate(w));
    control<QSlider>(w, "Slider2")->setFocus();
    QVERIFY(key("Right"));
    QTRY_COMPARE(prefModule::CircleSize, 101);
    QVERIFY(closeByCloseBox());
    w = open();
    QVERIFY(w);
    QCOMPARE(control<QSlider>(w, "Slider2")->value(), 101);
  }

  void checkBoxWritesAtOnce() {
    apply(Settings());
    PrefWindow *w = open();
    QVERIFY(w);
    auto *box = control<QCheckBox>(w, "AutoOff");
    QVERIFY(pointerTo(box->mapToGlobal(QPoint(8, box->height() / 2))));
    QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_VERIFY(prefModule::AutoShutOff);
    QVERIFY(box->isChecked());
    QVERIFY(xdotool({QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_VERIFY(!prefModule::AutoShutOff);
    // The keyboard toggles it as well.
    QVERIFY(activate(w));
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QVERIFY(key("space"));
    QTRY_VERIFY(prefModule::AutoShutOff);
  }

  // Dragging writes each step while the button is still down; keys write too.
  void slidersWriteAtOnce_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("stepPixels");
    QTest::newRow("Slider2") << 60 << 8;
    QTest::newRow("Slider3") << 4 << 18;
  }
  void slidersWriteAtOnce() {
    QFETCH(int, start);
    QFETCH(int, stepPixels);
    const bool isSize = QByteArray(QTest::currentDataTag()) == "Slider2";
    std::int32_t &setting = isSize ? prefModule::CircleSize : prefModule::CircleLineWidth;
    Settings s;
    (isSize ? s.size : s.width) = start;
    apply(s);
    PrefWindow *w = open();
    QVERIFY(w);
    auto *slider = control<QSlider>(w, QTest::currentDataTag());
    QCOMPARE(slider->value(), start);

    QVERIFY(pointerTo(slider->mapToGlobal(windowtest::sliderHandleRect(slider).center())));
    QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    QTRY_VERIFY(slider->isSliderDown());
    QList<int> seen;
    for (int i = 0; i < 4; ++i) {
      QVERIFY(xdotool({QStringLiteral("mousemove_relative"), QStringLiteral("--"),
                       QString::number(stepPixels), QStringLiteral("0")}));
      const int before = seen.isEmpty() ? start : seen.last();
      QTRY_VERIFY(setting > before);
      QCOMPARE(setting, slider->value());
      seen << setting;
    }
    QVERIFY2(slider->isSliderDown(), "the drag was still going on");
    QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QTRY_VERIFY(!slider->isSliderDown());
    QCOMPARE(setting, seen.last());

    QVERIFY(activate(w));
    slider->setFocus();
    QTRY_VERIFY(slider->hasFocus());
    const int v = setting;
    QVERIFY(key("Left"));
    QTRY_COMPARE(setting, v - 1);
    QVERIFY(key("Home"));
    QTRY_COMPARE(setting, slider->minimum());
    QVERIFY(key("Prior"));
    QTRY_COMPARE(setting, std::min(slider->minimum() + 20, slider->maximum()));
  }

  // The real colour dialog, answered by the test from inside its event loop.
  void colourChooser_data() {
    QTest::addColumn<bool>("pressOnSwatch");
    QTest::addColumn<bool>("releaseOutside");
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true << false << true;
    QTest::newRow("cancelled") << true << false << false;
    QTest::newRow("released outside the swatch") << true << true << true;
    QTest::newRow("pressed beside, released on it") << false << false << true;
  }
  void colourChooser() {
    QFETCH(bool, pressOnSwatch);
    QFETCH(bool, releaseOutside);
    QFETCH(bool, confirm);
    const ColorValue before = RGBColor(0, 0, 255);
    const QColor chosen(230, 120, 10);
    Settings s;
    s.color = before;
    apply(s);
    PrefWindow *w = open();
    QVERIFY(w);
    QWidget *swatch = control<QWidget>(w, "Sample");
    const QPoint onSwatch = swatch->mapToGlobal(QPoint(12, 12));
    const QPoint beside = control<QWidget>(w, "Label1")->mapToGlobal(QPoint(10, 10));
    const QPoint farAway = w->mapToGlobal(QPoint(240, 150));

    QColor startColour;
    windowtest::ModalAnswerer answerer([&](QWidget *modal) {
      auto *dialog = qobject_cast<QColorDialog *>(modal);
      if (!dialog) {
        modal->close();
        return;
      }
      startColour = dialog->currentColor();
      dialog->setCurrentColor(chosen);
      if (confirm)
        dialog->accept();
      else
        dialog->reject();
    });
    QVERIFY(pointerTo(pressOnSwatch ? onSwatch : beside));
    QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    QVERIFY(pointerTo(releaseOutside ? farAway : onSwatch));
    QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));

    if (!pressOnSwatch) {
      QTest::qWait(500);
      QVERIFY2(!answerer.answered(), "no chooser without a press on the swatch");
      QCOMPARE(Module1::CircleColor, before);
      return;
    }
    QTRY_VERIFY_WITH_TIMEOUT(answerer.answered(), 10000);
    QCOMPARE(answerer.className(), QStringLiteral("QColorDialog"));
    QCOMPARE(answerer.title(), QStringLiteral("Select a Color"));
    QCOMPARE(startColour, toQColor(before));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    const ColorValue expected =
        confirm ? RGBColor(chosen.red(), chosen.green(), chosen.blue()) : before;
    QCOMPARE(Module1::CircleColor, expected);
    QTRY_VERIFY(testsupport::near(screenPixel(onSwatch), toQColor(expected), 2));
  }

  // Closing writes the file, also when nothing was touched.
  void closingSaves_data() {
    QTest::addColumn<bool>("touch");
    QTest::newRow("nothing changed") << false;
    QTest::newRow("size changed") << true;
  }
  void closingSaves() {
    QFETCH(bool, touch);
    QFile::remove(prefsFile());
    apply({137, 5, true, RGBColor(1, 2, 3)});
    PrefWindow *w = open();
    QVERIFY(w);
    if (touch) {
      QVERIFY(activate(w));
      control<QSlider>(w, "Slider2")->setFocus();
      QVERIFY(key("Right"));
      QTRY_COMPARE(prefModule::CircleSize, 138);
    }
    QVERIFY(!QFile::exists(prefsFile()));
    QVERIFY(closeByCloseBox());
    QVERIFY(QFile::exists(prefsFile()));

    apply({1, 1, false, 0});
    prefModule::gDirectives.assign(1, directiveClass());
    prefModule::loadPrefs();
    QCOMPARE(prefModule::CircleSize, touch ? 138 : 137);
    QCOMPARE(prefModule::CircleLineWidth, 5);
    QCOMPARE(prefModule::AutoShutOff, true);
    QCOMPARE(Module1::CircleColor, RGBColor(1, 2, 3));
  }
};

QTEST_MAIN(TestPrefWindow)
#include "test_prefwindow.moc"
