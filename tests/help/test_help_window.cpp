// Vidurara: a ring around the mouse pointer for presentations.
// The help window as the user sees it: its text, a text area that can be read, selected
// and scrolled but not edited, and the one-window rule of "Show Help".
#include "Help.h"
#include "TestSupport.h"
#include "WindowRule.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

using namespace helptest;
using testsupport::xdotool;

class TestHelpWindow : public QObject {
  Q_OBJECT

  Help *openHelp() {
    Help *help = openLikeTheMenu<Help>();
    if (!QTest::qWaitForWindowActive(help))
      return nullptr;
    return help;
  }

  // Puts the real pointer on a point of the text area and clicks there.
  static bool clickAt(QWidget *widget, QPoint local) {
    const QPoint global = widget->mapToGlobal(local);
    return xdotool({QStringLiteral("mousemove"), QString::number(global.x()),
                    QString::number(global.y())}) &&
           xdotool({QStringLiteral("click"), QStringLiteral("1")});
  }

private slots:
  void cleanup() {
    if (Help *help = SingleInstance<Help>::find())
      delete help;
  }

  void paragraphs_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1 purpose")
        << 0
        << "Vidurara was developed to assist with presentations by providing a colored circle "
           "which surrounds the mouse.  You can turn this circle on and off with two shortcuts "
           "(Control-Shift to turn on, Option-Shift to turn off).  When you click on the "
           "mouse, the circle turns red for a short time.";
    QTest::newRow("2 control panel")
        << 1
        << "The small Control Panel may be dragged anywhere on the screen.  The user can close "
           "Vidurara by clicking on the Control Panel's red (close) button at the top left "
           "corner.  The Control Panel may be minimized.  The two shortcuts may be used with "
           "the Control Panel minimized.";
    QTest::newRow("3 preferences")
        << 2 << "You can set four preferences from the Preferences Window:";
    QTest::newRow("4 item a") << 3 << "  a.  Turn off the circle after a mouse click.";
    QTest::newRow("5 item b") << 4
                              << "  b.  Set the circle border color (click on the rectangle, "
                                 "choose a color from the color panel, and click on the OK "
                                 "button).";
    QTest::newRow("6 item c") << 5 << "  c.  Set the the circle size with a slider.";
    QTest::newRow("7 item d") << 6 << "  d.  Set the circle border thickness with a slider.";
    QTest::newRow("8 saved") << 7
                             << "Preference settings and Control Panel window position are "
                                "saved between sessions.";
  }

  // The text area's own text, paragraph by paragraph, character by character.
  void paragraphs() {
    QFETCH(int, index);
    QFETCH(QString, expected);
    Help help;
    const QStringList paragraphs =
        help.EditField1->toPlainText().split(QStringLiteral("\n\n"), Qt::KeepEmptyParts);
    QCOMPARE(paragraphs.size(), 9);
    QCOMPARE(paragraphs.at(index), expected);
  }

  void wholeText() {
    Help help;
    const QString text = help.EditField1->toPlainText();
    QCOMPARE(text, Help::HelpText());
    const QStringList paragraphs = text.split(QStringLiteral("\n\n"));
    QCOMPARE(paragraphs.size(), 9);
    for (const QString &paragraph : paragraphs) {
      QVERIFY2(!paragraph.isEmpty() && !paragraph.contains(QLatin1Char('\n')),
               qPrintable(paragraph));
      QVERIFY(!paragraph.contains(QLatin1Char('\r')));
    }
    QVERIFY(paragraphs.last().startsWith(QStringLiteral("Icon Credit:  ")));
    QVERIFY(paragraphs.last().size() > int(qstrlen("Icon Credit:  ")));
    QVERIFY(!paragraphs.last().at(14).isSpace());
    QVERIFY(!text.endsWith(QLatin1Char('\n')));
    // Nine paragraphs and the eight empty lines between them.
    QCOMPARE(help.EditField1->document()->blockCount(), 17);
    QCOMPARE(help.EditField1->document()->lastBlock().text(), paragraphs.last());
  }

  void layout() {
    Help *help = openHelp();
    QVERIFY(help);
    QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
    QCOMPARE(help->size(), QSize(350, 257));
    QCOMPARE(help->minimumSize(), help->maximumSize());
    QVERIFY(help->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!(help->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(help->windowFlags() & Qt::WindowCloseButtonHint);

    QPlainTextEdit *field = help->EditField1;
    QCOMPARE(field->objectName(), QStringLiteral("EditField1"));
    QCOMPARE(field->geometry(), QRect(20, 19, 310, 218));
    QCOMPARE(field->font().family(), QStringLiteral("Helvetica Neue"));
    QCOMPARE(field->font().pointSize(), 12);
    QVERIFY(!field->font().bold() && !field->font().italic());
    QCOMPARE(field->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(field->verticalScrollBar()->isVisible());
    QVERIFY(field->frameShape() != QFrame::NoFrame);
    QCOMPARE(field->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(field->palette().color(QPalette::Text), QColor(Qt::black));
  }

  // Real keys and clicks: nothing the user types changes the text, but it can be
  // selected (and so copied) and scrolled with mouse and keyboard.
  void readOnlyButSelectable() {
    Help *help = openHelp();
    QVERIFY(help);
    QPlainTextEdit *field = help->EditField1;
    const QString before = field->toPlainText();
    QVERIFY(clickAt(field->viewport(), QPoint(40, 10)));
    QTRY_VERIFY(field->hasFocus());

    QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("xyz ")}));
    for (const char *key : {"Return", "BackSpace", "Delete", "Tab", "ctrl+x", "ctrl+v"})
      QVERIFY(xdotool({QStringLiteral("key"), QString::fromLatin1(key)}));
    QTest::qWait(200);
    QCOMPARE(field->toPlainText(), before);

    // Shift and the arrow keys select from the cursor; Control-A selects all; copy works.
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+Home")}));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("shift+End")}));
    QTRY_VERIFY(field->textCursor().hasSelection());
    QVERIFY(before.startsWith(field->textCursor().selectedText()));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")}));
    QTRY_COMPARE(field->textCursor().selectedText().size(), before.size());
    QApplication::clipboard()->clear();
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+c")}));
    QTRY_COMPARE(QApplication::clipboard()->text(), before);

    // Selecting with the mouse: press, drag, release.
    field->moveCursor(QTextCursor::Start);
    const QPoint from = field->viewport()->mapToGlobal(QPoint(5, 8));
    QVERIFY(xdotool(
        {QStringLiteral("mousemove"), QString::number(from.x()), QString::number(from.y())}));
    QVERIFY(xdotool({QStringLiteral("mousedown"), QStringLiteral("1")}));
    QVERIFY(xdotool(
        {QStringLiteral("mousemove_relative"), QStringLiteral("120"), QStringLiteral("30")}));
    QVERIFY(xdotool({QStringLiteral("mouseup"), QStringLiteral("1")}));
    QTRY_VERIFY(field->textCursor().selectedText().size() > 10);
    QVERIFY(before.contains(
        field->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'))));

    // The text is longer than the area: the keyboard scrolls to its end and back.
    QScrollBar *bar = field->verticalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+End")}));
    // The last line comes into view.
    QTRY_VERIFY(bar->value() > bar->maximum() / 2 &&
                field->viewport()->rect().contains(field->cursorRect()));
    QCOMPARE(field->textCursor().position(), before.size());
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+Home")}));
    QTRY_COMPARE(bar->value(), 0);
    QCOMPARE(field->toPlainText(), before);
  }

  // A selection shows only while the text area has the focus.
  void selectionHiddenWithoutFocus() {
    Help *help = openHelp();
    QVERIFY(help);
    QPlainTextEdit *field = help->EditField1;
    field->setFocus();
    field->selectAll();
    const QColor highlight = field->palette().color(QPalette::Active, QPalette::Highlight);
    auto highlighted = [&] {
      const QImage image = field->viewport()->grab().toImage();
      int count = 0;
      for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
          count += testsupport::near(image.pixelColor(x, y), highlight, 12) ? 1 : 0;
      return count;
    };
    QTRY_VERIFY(highlighted() > 100);

    QWidget other;
    other.setGeometry(500, 400, 200, 100);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_COMPARE(highlighted(), 0);
    QVERIFY(field->textCursor().hasSelection());
  }

  // "Show Help" twice: one window, content area at 20, 70 both times, also after the
  // user moved it; after its close box a new one opens.
  void showHelpTwice() {
    Help *first = openHelp();
    QVERIFY(first);
    QTRY_COMPARE(contentOriginOnScreen(first), QPoint(20, 70));
    first->move(300, 300);
    QTRY_VERIFY(contentOriginOnScreen(first) != QPoint(20, 70));

    Help *second = openHelp();
    QCOMPARE(second, first);
    QTRY_COMPARE(contentOriginOnScreen(second), QPoint(20, 70));
    QCOMPARE(visibleWindowsOf<Help>(), 1);

    QPointer<Help> closed(first);
    QVERIFY(closeLikeTheCloseBox(first));
    QTRY_VERIFY(closed.isNull());
    QCOMPARE(SingleInstance<Help>::find(), nullptr);
    Help *third = openHelp();
    QVERIFY(third);
    QTRY_COMPARE(contentOriginOnScreen(third), QPoint(20, 70));
    QCOMPARE(visibleWindowsOf<Help>(), 1);
  }
};

QTEST_MAIN(TestHelpWindow)
#include "test_help_window.moc"
