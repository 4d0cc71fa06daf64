// Vidurara: a ring around the mouse pointer for presentations.
// The drawing surface's geometry and colours, read back as pixels from its context.
#include "EasyOverlayWindow.h"

#include <QFontMetricsF>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace {

using Draw = std::function<void(EasyOverlayWindow &)>;
using Points = QList<QPoint>;

struct Surface : EasyOverlayWindow {
  explicit Surface(int height) { Init(0, 0, 400, height, nullptr); }
  QImage pixels() const { return myContext->render(Width(), Height()); }
};

// The rows of ink: first and last row with a pixel of at least `alpha`, -1 when none.
std::pair<int, int> inkRows(const QImage &image, int alpha = 64) {
  int first = -1, last = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) >= alpha) {
        if (first < 0)
          first = y;
        last = y;
        break;
      }
  return {first, last};
}

std::pair<int, int> inkColumns(const QImage &image, int alpha = 64) {
  int first = -1, last = -1;
  for (int x = 0; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (qAlpha(image.pixel(x, y)) >= alpha) {
        if (first < 0)
          first = x;
        last = x;
        break;
      }
  return {first, last};
}

} // namespace

Q_DECLARE_METATYPE(Draw)

class TestSurface : public QObject {
  Q_OBJECT
private slots:
  void init() { Module1::MyTransparency = 0; }

  // Which pixels a primitive covers (alpha 240 and more), half covers (an edge half a
  // pixel inside: alpha 96 to 160) and leaves clear (alpha 10 or less).
  void coverage_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<Draw>("draw");
    QTest::addColumn<Points>("full");
    QTest::addColumn<Points>("half");
    QTest::addColumn<Points>("none");

    QTest::newRow("oval 100,100,94,94 width 6 spans 100..200")
        << 800 << 6 << Draw([](auto &s) { s.DrawOval(100, 100, 94, 94); })
        << Points{{100, 150}, {199, 150}, {150, 100}, {150, 199}, {105, 150}} << Points{}
        << Points{{99, 150}, {200, 150}, {150, 99}, {150, 200}, {106, 150}, {150, 150}};
    QTest::newRow("oval width 7: the box moves by 3 as with 6")
        << 800 << 7 << Draw([](auto &s) { s.DrawOval(100, 100, 94, 94); })
        << Points{{100, 150}, {199, 150}, {150, 100}, {150, 199}}
        << Points{{99, 150}, {200, 150}, {150, 99}, {150, 200}} << Points{{98, 150}, {201, 150}};
    QTest::newRow("oval width 1 lies on the box")
        << 100 << 1 << Draw([](auto &s) { s.DrawOval(10, 10, 20, 20); }) << Points{}
        << Points{{9, 20}, {10, 20}, {29, 20}, {30, 20}, {20, 9}, {20, 30}}
        << Points{{8, 20}, {11, 20}, {31, 20}, {20, 20}};
    QTest::newRow("oval near the edge is cut off, not moved")
        << 100 << 6 << Draw([](auto &s) { s.DrawOval(-15, -15, 45, 45); })
        << Points{{10, 33}, {33, 10}} << Points{} << Points{{0, 0}, {10, 10}};
    QTest::newRow("filled oval 0,0,10,20")
        << 100 << 6 << Draw([](auto &s) { s.FillOval(0, 0, 10, 20); })
        << Points{{4, 10}, {4, 2}, {2, 10}, {4, 17}} << Points{}
        << Points{{0, 0}, {9, 0}, {10, 10}, {4, 20}, {0, 19}};
    QTest::newRow("rect 10,10,100,50 width 6 spans 10..110 and 10..60")
        << 800 << 6 << Draw([](auto &s) { s.DrawRect(10, 10, 100, 50); })
        << Points{{10, 35}, {109, 35}, {60, 10}, {60, 59}, {10, 10}, {109, 59}, {15, 35}}
        << Points{} << Points{{9, 35}, {110, 35}, {60, 9}, {60, 60}, {16, 35}, {60, 35}};
    QTest::newRow("rect width 5 is half a pixel right and up")
        << 800 << 5 << Draw([](auto &s) { s.DrawRect(10, 10, 100, 50); })
        << Points{{11, 35}, {109, 35}, {60, 10}, {60, 58}}
        << Points{{10, 35}, {110, 35}, {60, 9}, {60, 59}} << Points{{9, 35}, {111, 35}, {60, 60}};
    QTest::newRow("filled rect 0,0,10,10")
        << 100 << 6 << Draw([](auto &s) { s.FillRect(0, 0, 10, 10); })
        << Points{{0, 0}, {9, 9}, {0, 9}, {9, 0}} << Points{} << Points{{10, 0}, {0, 10}, {10, 10}};
    QTest::newRow("line on the top edge: half of it outside")
        << 100 << 2 << Draw([](auto &s) { s.DrawLine(0, 0, 10, 0); }) << Points{{0, 0}, {9, 0}}
        << Points{} << Points{{10, 0}, {5, 1}};
    QTest::newRow("line width 1 between two rows")
        << 100 << 1 << Draw([](auto &s) { s.DrawLine(5, 20, 15, 20); }) << Points{}
        << Points{{10, 19}, {10, 20}} << Points{{10, 18}, {10, 21}, {4, 20}, {15, 20}};
    QTest::newRow("round rect width 2 inside its box")
        << 100 << 2 << Draw([](auto &s) { s.DrawRoundRect(0, 0, 100, 50, 10, 10); })
        << Points{{0, 25}, {1, 25}, {98, 25}, {99, 25}, {50, 0}, {50, 1}, {50, 48}, {50, 49}}
        << Points{} << Points{{2, 25}, {97, 25}, {50, 2}, {50, 47}, {0, 0}, {1, 1}, {99, 49}};
    QTest::newRow("filled round rect")
        << 100 << 2 << Draw([](auto &s) { s.FillRoundRect(10, 10, 40, 30, 8, 8); })
        << Points{{30, 25}, {10, 25}, {30, 10}, {49, 25}} << Points{}
        << Points{{10, 10}, {49, 39}, {9, 25}, {50, 25}};
  }

  void coverage() {
    QFETCH(int, height);
    QFETCH(int, lineWidth);
    QFETCH(Draw, draw);
    QFETCH(Points, full);
    QFETCH(Points, half);
    QFETCH(Points, none);
    Surface s(height);
    s.ForeColor(RGBColor(255, 0, 0));
    s.LineWidth(lineWidth);
    draw(s);
    const QImage image = s.pixels();
    auto alpha = [&](QPoint p) { return qAlpha(image.pixel(p)); };
    for (QPoint p : full)
      QVERIFY2(alpha(p) >= 240,
               qPrintable(
                   QStringLiteral("full at %1,%2: alpha %3").arg(p.x()).arg(p.y()).arg(alpha(p))));
    for (QPoint p : half)
      QVERIFY2(alpha(p) >= 96 && alpha(p) <= 160,
               qPrintable(
                   QStringLiteral("half at %1,%2: alpha %3").arg(p.x()).arg(p.y()).arg(alpha(p))));
    for (QPoint p : none)
      QVERIFY2(alpha(p) <= 10,
               qPrintable(
                   QStringLiteral("none at %1,%2: alpha %3").arg(p.x()).arg(p.y()).arg(alpha(p))));
  }

  // Operations that must draw the very same pixels.
  void sameDrawing_data() {
    QTest::addColumn<int>("lineWidth");
    QTest::addColumn<Draw>("a");
    QTest::addColumn<Draw>("b");
    QTest::newRow("round rect is the inset path")
        << 2 << Draw([](auto &s) { s.DrawRoundRect(0, 0, 100, 50, 10, 10); })
        << Draw([](auto &s) { s.doDrawRoundRect(1, 1, 98, 48, 10, 10, false); });
    QTest::newRow("round rect, odd width, truncated inset")
        << 5 << Draw([](auto &s) { s.DrawRoundRect(20, 20, 100, 50, 10, 6); })
        << Draw([](auto &s) { s.doDrawRoundRect(22, 22, 95, 45, 10, 6, false); });
    QTest::newRow("corner extents 0 give a plain rectangle")
        << 2 << Draw([](auto &s) { s.FillRoundRect(10, 20, 30, 40, 0, 0); })
        << Draw([](auto &s) { s.FillRect(10, 20, 30, 40); });
    QTest::newRow("oval offset by truncated half width")
        << 7 << Draw([](auto &s) { s.DrawOval(10, 10, 40, 30); }) << Draw([](auto &s) {
             s.LineWidth(6); // same offset 3, then stroke with 7 as the first
             s.LineWidth(7);
             s.DrawOval(10, 10, 40, 30);
           });
    QTest::newRow("filled oval ignores the line width")
        << 9 << Draw([](auto &s) { s.FillOval(10, 10, 40, 30); }) << Draw([](auto &s) {
             s.LineWidth(1);
             s.FillOval(10, 10, 40, 30);
           });
    QTest::newRow("clear starts over") << 4 << Draw([](auto &s) {
      s.DrawRect(5, 5, 50, 50);
      s.Clear();
      s.DrawOval(10, 10, 40, 30);
    }) << Draw([](auto &s) { s.DrawOval(10, 10, 40, 30); });
    QTest::newRow("transparency 0 draws nothing") << 4 << Draw([](auto &s) {
      s.Transparency(0);
      s.FillRect(5, 5, 50, 50);
      s.Transparency(255);
    }) << Draw([](auto &) {});
  }

  void sameDrawing() {
    QFETCH(int, lineWidth);
    QFETCH(Draw, a);
    QFETCH(Draw, b);
    Surface s1(200), s2(200);
    for (Surface *s : {&s1, &s2}) {
      s->ForeColor(RGBColor(0, 0, 255));
      s->LineWidth(lineWidth);
    }
    a(s1);
    b(s2);
    const QImage i1 = s1.pixels();
    QVERIFY(i1 == s2.pixels());
  }

  void colourAndTransparency_data() {
    QTest::addColumn<int>("transparency");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("opaque") << 255 << QColor(0x33, 0x66, 0x99, 255);
    QTest::newRow("alpha 128") << 128 << QColor(0x33, 0x66, 0x99, 128);
    QTest::newRow("alpha 0") << 0 << QColor(0, 0, 0, 0);
    QTest::newRow("beyond 255 stays opaque") << 300 << QColor(0x33, 0x66, 0x99, 255);
  }

  void colourAndTransparency() {
    QFETCH(int, transparency);
    QFETCH(QColor, expected);
    Surface s(100);
    s.ForeColor(RGBColor(0x33, 0x66, 0x99));
    s.Transparency(transparency);
    QCOMPARE(s.ForeColor(), RGBColor(0x33, 0x66, 0x99));
    s.FillRect(0, 0, 10, 10); // fill colour
    s.LineWidth(4);
    s.DrawLine(20, 50, 60, 50); // stroke colour
    const QImage image = s.pixels().convertToFormat(QImage::Format_ARGB32);
    for (QPoint p : {QPoint(5, 5), QPoint(40, 49)}) {
      const QColor c = image.pixelColor(p);
      QVERIFY2(std::abs(c.alpha() - expected.alpha()) <= 1 &&
                   (expected.alpha() == 0 || (std::abs(c.red() - expected.red()) <= 2 &&
                                              std::abs(c.green() - expected.green()) <= 2 &&
                                              std::abs(c.blue() - expected.blue()) <= 2)),
               qPrintable(c.name(QColor::HexArgb)));
    }
    // The transparency is shared by every surface, also one not yet initialised.
    EasyOverlayWindow other;
    QCOMPARE(other.Transparency(), double(transparency));
    QCOMPARE(Module1::MyTransparency, transparency);
  }

  void bevelFrame_data() {
    QTest::addColumn<int>("lineWidth");
    QTest::newRow("width 3") << 3;
    QTest::newRow("width 1") << 1;
    QTest::newRow("width 0 draws nothing") << 0;
  }

  void bevelFrame() {
    QFETCH(int, lineWidth);
    Surface s(100);
    const ColorValue c1 = RGBColor(255, 0, 0), c2 = RGBColor(0, 0, 255), own = RGBColor(0, 255, 0);
    s.ForeColor(own);
    s.LineWidth(lineWidth);
    s.DrawBevelFrame(10, 10, 50, 40, c1, c2);
    QCOMPARE(s.ForeColor(), own);
    QCOMPARE(s.LineWidth(), lineWidth);
    QCOMPARE(int(s.myContext->frame().size()), 4 * lineWidth); // one-pixel lines
    const QImage image = s.pixels().convertToFormat(QImage::Format_ARGB32);
    if (lineWidth == 0) {
      QCOMPARE(inkRows(image, 1), std::make_pair(-1, -1));
      return;
    }
    // The first colour on the top and left bands, the second on the right and bottom,
    // each band lineWidth lines deep from one pixel inside the box.
    auto hue = [&](QPoint p) {
      const QColor c = image.pixelColor(p);
      return c.alpha() < 60                   ? QStringLiteral("none")
             : c.red() > 200 && c.blue() < 60 ? QStringLiteral("first")
             : c.blue() > 200 && c.red() < 60 ? QStringLiteral("second")
                                              : QStringLiteral("mixed");
    };
    QCOMPARE(hue({30, 10 + lineWidth}), QStringLiteral("first"));  // top
    QCOMPARE(hue({10 + lineWidth, 30}), QStringLiteral("first"));  // left
    QCOMPARE(hue({59 - lineWidth, 30}), QStringLiteral("second")); // right
    QCOMPARE(hue({30, 49 - lineWidth}), QStringLiteral("second")); // bottom
    QCOMPARE(hue({30, 10 + lineWidth + 2}), QStringLiteral("none"));
    QCOMPARE(hue({30, 30}), QStringLiteral("none"));
    QCOMPARE(hue({30, 8}), QStringLiteral("none"));
  }

  // y is the top of the line: the baseline lies one text size below it.
  void textBaseline_data() {
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("size");
    QTest::newRow("0, size 12: baseline 12 (context 88)") << 0 << 12;
    QTest::newRow("30, size 20: baseline 50") << 30 << 20;
  }

  void textBaseline() {
    QFETCH(int, y);
    QFETCH(int, size);
    Surface s(100);
    s.TextSize(size);
    s.DrawString(QStringLiteral("HE"), 5, y);
    const auto [first, last] = inkRows(s.pixels(), 128);
    QCOMPARE(last, y + size - 1); // capitals stand on the baseline
    QVERIFY(first > y && first < y + size / 2);
  }

  void shadow() {
    Surface s(100);
    s.TextSize(20);
    s.ForeColor(RGBColor(255, 0, 0));
    s.DrawStringWithShadow(QStringLiteral("HE"), 10, 10, 2, 128, RGBColor(0, 0, 255));
    QCOMPARE(s.ForeColor(), RGBColor(255, 0, 0));
    QCOMPARE(s.Transparency(), 255.0);
    const QImage image = s.pixels().convertToFormat(QImage::Format_ARGB32);
    // The text stands on row 30, the shadow two rows lower and two columns right: its
    // last rows are shadow alone, in the caller's colour at opacity 128.
    QCOMPARE(inkRows(image, 100).second, 31);
    int shadowAlpha = 0;
    for (int x = 0; x < image.width(); ++x) {
      const QColor c = image.pixelColor(x, 31);
      if (c.alpha() > 0) {
        QVERIFY2(c.blue() > 200 && c.red() < 30, qPrintable(c.name(QColor::HexArgb)));
        shadowAlpha = std::max(shadowAlpha, c.alpha());
      }
    }
    QVERIFY(std::abs(shadowAlpha - 128) <= 2);
    const QColor text = image.pixelColor(inkColumns(image, 250).first, 25);
    QCOMPARE(text, QColor(255, 0, 0));
  }

  void stringWidth() {
    Surface s(100);
    s.TextSize(12);
    const QString text = QStringLiteral("Presentation");
    const int w12 = s.StringWidth(text);
    s.TextSize(24);
    const int w24 = s.StringWidth(text);
    QVERIFY(w12 > 20);
    QVERIFY(std::abs(w24 - 2 * w12) <= 3);
    // It measures what DrawString draws.
    s.DrawString(text, 10, 20);
    const auto [left, right] = inkColumns(s.pixels(), 40);
    QVERIFY2(right - left + 1 <= w24 + 1 && right - left + 1 >= w24 - 4,
             qPrintable(QStringLiteral("ink %1, width %2").arg(right - left + 1).arg(w24)));
    s.TextFont(QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(s.StringWidth(QStringLiteral("iiii")), s.StringWidth(QStringLiteral("MMMM")));
  }

  void picture_data() {
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<bool>("rightHalfShows");
    QImage masked(4, 4, QImage::Format_ARGB32);
    masked.fill(Qt::transparent);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 2; ++x)
        masked.setPixelColor(x, y, QColor(255, 255, 0));
    QImage opaque(4, 4, QImage::Format_RGB32);
    opaque.fill(QColor(255, 255, 0));
    QTest::newRow("mask from the alpha channel") << masked << false;
    QTest::newRow("no alpha: all of it") << opaque << true;
  }

  void picture() {
    QFETCH(QImage, picture);
    QFETCH(bool, rightHalfShows);
    Surface s(100);
    s.DrawPicture(picture, 10, 20);
    const QImage image = s.pixels().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.pixelColor(10, 20), QColor(255, 255, 0));
    QCOMPARE(image.pixelColor(11, 23), QColor(255, 255, 0));
    QCOMPARE(image.pixelColor(13, 23).alpha() == 255, rightHalfShows);
    QCOMPARE(qAlpha(image.pixel(14, 20)), 0);
    QCOMPARE(qAlpha(image.pixel(10, 24)), 0);
  }

  // Before Init there is no context: drawing does nothing, and the state set is kept.
  void beforeInit() {
    EasyOverlayWindow s;
    QVERIFY(!s.myContext);
    QVERIFY(!s.myRect);
    QCOMPARE(s.ForeColor(), ColorValue(0));
    QCOMPARE(s.LineWidth(), 0);
    QCOMPARE(s.TextFont(), QString());
    QCOMPARE(s.TextSize(), 0);
    QCOMPARE(s.Moveable, false);
    s.Clear();
    s.ForeColor(RGBColor(1, 2, 3));
    s.LineWidth(3);
    s.DrawOval(0, 0, 10, 10);
    s.FillOval(0, 0, 10, 10);
    s.DrawRect(0, 0, 10, 10);
    s.FillRect(0, 0, 10, 10);
    s.DrawLine(0, 0, 10, 10);
    s.DrawRoundRect(0, 0, 10, 10, 2, 2);
    s.FillRoundRect(0, 0, 10, 10, 2, 2);
    s.DrawBevelFrame(0, 0, 10, 10, 0, 0);
    s.DrawString(QStringLiteral("x"), 0, 0);
    s.DrawStringWithShadow(QStringLiteral("x"), 0, 0, 1, 1, 0);
    s.DrawPicture(QImage(2, 2, QImage::Format_RGB32), 0, 0);
    s.DrawWindow();
    s.Refresh();
    QCOMPARE(s.StringWidth(QStringLiteral("x")), 0);
    QCOMPARE(s.ForeColor(), RGBColor(1, 2, 3));
    QCOMPARE(s.LineWidth(), 3);
    QVERIFY(!s.nativeWindow());
  }

  void initState() {
    Surface s(300);
    QCOMPARE(s.ForeColor(), ColorValue(0));
    QCOMPARE(s.Transparency(), 255.0);
    QCOMPARE(s.LineWidth(), 1);
    QCOMPARE(s.TextFont(), QStringLiteral("Helvetica"));
    QCOMPARE(s.TextSize(), 12);
    QVERIFY(s.myRect);
    QCOMPARE(s.myRect->width, 400.0);
    QCOMPARE(s.myRect->height, 300.0);
    QCOMPARE(s.Width(), 400);
    QCOMPARE(s.Height(), 300);
    QVERIFY(s.myContext);
    QVERIFY(s.myContext->frame().empty());
  }

  // A smaller window cuts off the drawing shown at once; what is drawn since shows at
  // the next flush.
  void resizeCutsAtOnce() {
    Surface s(200);
    s.ForeColor(RGBColor(255, 0, 0));
    s.FillRect(100, 20, 200, 40);
    s.DrawWindow();
    QCOMPARE(s.clickRegion(), QRegion(100, 20, 200, 40));
    s.FillRect(0, 100, 10, 10); // not flushed yet
    s.Width(150);
    QCOMPARE(s.clickRegion(), QRegion(100, 20, 50, 40));
    s.DrawWindow();
    QCOMPARE(s.clickRegion(), QRegion(100, 20, 50, 40) + QRegion(0, 100, 10, 10));
  }

  // The coordinate flip uses the window's height at the moment of each call.
  void heightChange() {
    Surface s(100);
    s.ForeColor(RGBColor(255, 0, 0));
    s.Height(200);
    s.FillRect(0, 0, 10, 10);
    QCOMPARE(qAlpha(s.myContext->render(400, 200).pixel(5, 5)), 255);
    // Clear keeps to the rectangle of Init until Update.
    QCOMPARE(s.myRect->height, 100.0);
    s.Update();
    QCOMPARE(s.myRect->height, 200.0);
    QVERIFY(s.myContext->frame().empty());
  }

  // Refresh calls the Paint hook and shows what it drew.
  void refreshPaints() {
    struct Painted : EasyOverlayWindow {
      int paints = 0;
      void Paint(EasyOverlayWindow *surface) override {
        ++paints;
        surface->FillRect(10, 20, 30, 40);
      }
    } s;
    s.Refresh(); // before Init: nothing
    QCOMPARE(s.paints, 0);
    s.Init(0, 0, 200, 100, nullptr);
    s.Refresh();
    QCOMPARE(s.paints, 1);
    QCOMPARE(s.shownRect(), QRect(9, 19, 32, 42)); // the drawing and a smoothing margin
    QCOMPARE(s.clickRegion(), QRegion(10, 20, 30, 40));
  }

  // An overlay attached to a window follows it, and its size with live resizing.
  void attached() {
    QWidget parent;
    parent.setGeometry(100, 100, 300, 200);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    EasyOverlayWindow s;
    s.Init(110, 120, 300, 200, &parent);
    parent.setGeometry(150, 90, 340, 260);
    QTRY_COMPARE(QPoint(s.Left(), s.Top()), QPoint(160, 110));
    QCOMPARE(QSize(s.Width(), s.Height()), QSize(340, 260));
  }

  // Drawing frame after frame without Clear keeps everything, and the frame stays short.
  void drawingWithoutClear() {
    Surface s(200);
    s.ForeColor(RGBColor(255, 0, 0));
    for (int i = 0; i < 300; ++i) {
      s.FillRect(i % 100 * 2, i / 100 * 10, 1, 5);
      s.DrawWindow();
    }
    QVERIFY(s.myContext->frame().size() < 100);
    const QImage image = s.pixels();
    for (int i = 0; i < 300; ++i)
      QCOMPARE(qAlpha(image.pixel(i % 100 * 2, i / 100 * 10 + 2)), 255);
    QCOMPARE(qAlpha(image.pixel(1, 2)), 0);
    QCOMPARE(s.clickRegion().boundingRect(), QRect(0, 0, 199, 25));
  }

  // A hook may close the overlay from inside the window's own event.
  void closeFromAPress() {
    struct Closing : EasyOverlayWindow {
      bool MouseDown(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                     std::int32_t) override {
        Close();
        return true;
      }
    } s;
    s.Init(0, 0, 200, 100, nullptr);
    s.FillRect(10, 10, 50, 50);
    s.DrawWindow();
    QPointer<QWindow> native = s.nativeWindow();
    QVERIFY(native);
    QTest::mousePress(native, Qt::LeftButton, {}, QPoint(20, 20) - native->position());
    QVERIFY(s.IsClosed());
    QTRY_VERIFY(!native);
  }

  // Closing twice is harmless; drawing on a closed window shows nothing.
  void closed() {
    Surface s(100);
    s.ForeColor(RGBColor(255, 0, 0));
    s.FillRect(0, 0, 10, 10);
    s.DrawWindow();
    QVERIFY(!s.shownRect().isEmpty());
    s.Close();
    s.Close();
    QVERIFY(s.IsClosed());
    QVERIFY(!s.nativeWindow());
    s.Clear();
    s.DrawOval(10, 10, 30, 30);
    s.DrawWindow();
    QVERIFY(s.shownRect().isEmpty());
    QVERIFY(s.clickRegion().isEmpty());
  }
};

QTEST_MAIN(TestSurface)
#include "test_surface.moc"
