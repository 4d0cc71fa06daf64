// Vidurara: a ring around the mouse pointer for presentations.
// Help printing into real PDF files, read back with poppler's pdfinfo and pdftotext:
// page count, every page's footer, where the body's words landed, and the print dialog.
#include "Help.h"
#include "HelpPrinting.h"
#include "SingleInstance.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QLocale>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <functional>

namespace {

struct Word {
  QString text;
  QRectF box; // points from the top-left corner of the paper
};

int pdfPages(const QString &pdf) {
  QString out;
  if (!testsupport::run(QStringLiteral("pdfinfo"), {pdf}, &out))
    return -1;
  const auto match =
      QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
          .match(out);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfPageText(const QString &pdf, int page) {
  QString out;
  const QString n = QString::number(page);
  testsupport::run(QStringLiteral("pdftotext"),
                   {QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")},
                   &out);
  return out;
}

QList<Word> pdfPageWords(const QString &pdf, int page) {
  QString out;
  const QString n = QString::number(page);
  testsupport::run(QStringLiteral("pdftotext"),
                   {QStringLiteral("-bbox"), QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf,
                    QStringLiteral("-")},
                   &out);
  QList<Word> words;
  static const QRegularExpression word(
      QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                     "yMax=\"([\\d.]+)\">([^<]*)</word>"));
  for (auto it = word.globalMatch(out); it.hasNext();) {
    const auto m = it.next();
    words.append(
        {m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
  }
  return words;
}

QString unescaped(QString text) {
  return text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
      .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
      .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
      .replace(QStringLiteral("&apos;"), QStringLiteral("'"))
      .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// One printed job, split into what lies in the body and what lies in the footer.
struct PrintedPage {
  QList<Word> body;
  QList<Word> footer;
};

// Points from the paper's corner to the printable area's corner.
QPointF printableOrigin(const QPrinter &printer) {
  return printer.pageLayout().paintRectPoints().topLeft();
}

// A document as the help window's text area holds it.
std::unique_ptr<QTextDocument> helpLikeDocument(const QString &text) {
  Help help;
  help.EditField1->setPlainText(text);
  return std::unique_ptr<QTextDocument>(help.EditField1->document()->clone());
}

QString numberedLines(int count) {
  QStringList lines;
  for (int i = 1; i <= count; ++i)
    lines << QStringLiteral("Line%1 of the help text").arg(i, 4, 10, QLatin1Char('0'));
  return lines.join(QLatin1Char('\n'));
}

QString longParagraphs() {
  QStringList paragraphs;
  for (int p = 1; p <= 12; ++p) {
    QStringList words;
    for (int w = 1; w <= 90; ++w)
      words << QStringLiteral("p%1w%2").arg(p).arg(w);
    paragraphs << words.join(QLatin1Char(' '));
  }
  return paragraphs.join(QStringLiteral("\n\n"));
}

QString withoutSpaces(QString text) {
  return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

class TestHelpPrinting : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QHash<int, int> linesPerPage_;

  // How many one-line paragraphs a page's body holds at a resolution: the first page of a
  // long print tells, and the second must agree.
  int linesPerPage(QPrinter::PrinterMode mode) {
    if (!linesPerPage_.contains(mode)) {
      const auto pages = print(numberedLines(400), mode, QStringLiteral("x"),
                               QStringLiteral("probe%1").arg(int(mode)));
      const int lines = pages.size() >= 3 ? int(pages.at(0).body.size() / 5) : 0;
      linesPerPage_[mode] = lines > 20 && pages.at(1).body.size() / 5 == lines ? lines : 0;
    }
    return linesPerPage_.value(mode);
  }

  QString pdfPath(const QString &name) const { return dir_.filePath(name + ".pdf"); }

  // Prints `text` to a PDF and reads every page back.
  QList<PrintedPage> print(const QString &text, QPrinter::PrinterMode mode, const QString &footer,
                           const QString &name, int *printedPages = nullptr) {
    QPrinter printer(mode);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath(name));
    const QPointF origin = printableOrigin(printer);
    const auto document = helpLikeDocument(text);
    const int printed = PrintHelpText(printer, *document, footer);
    if (printedPages)
      *printedPages = printed;
    QList<PrintedPage> pages;
    const int count = pdfPages(pdfPath(name));
    for (int page = 1; page <= count; ++page) {
      PrintedPage printedPage;
      for (Word word : pdfPageWords(pdfPath(name), page)) {
        // Ligatures ("ff") come back as one character.
        word.text = unescaped(word.text).normalized(QString::NormalizationForm_KC);
        word.box.translate(-origin);
        // The body ends at 708; the footer's line sits on the baseline 720.
        (word.box.center().y() > 708 ? printedPage.footer : printedPage.body).append(word);
      }
      pages.append(printedPage);
    }
    return pages;
  }

  static QString footerFor(QDateTime when) { return HelpFooterText(when); }

  // Every page: the body inside x 36..528, y 36..708; the footer "page N" at x 40 and the
  // footer text at x 100 on one line through y 720, in that order, and nothing else.
  static void checkPage(const PrintedPage &page, int number, const QString &footer) {
    for (const Word &word : page.body) {
      const QRectF box = word.box;
      QVERIFY2(box.left() >= 36 - 0.5 && box.right() <= 528 + 0.5 && box.top() >= 36 - 0.5 &&
                   box.bottom() <= 708 + 0.5,
               qPrintable(QStringLiteral("page %1: \"%2\" at %3,%4 - %5,%6")
                              .arg(number)
                              .arg(word.text)
                              .arg(box.left())
                              .arg(box.top())
                              .arg(box.right())
                              .arg(box.bottom())));
    }
    QStringList footerWords;
    for (const Word &word : page.footer) {
      footerWords << word.text;
      QVERIFY2(word.box.top() < 720 && word.box.bottom() > 720 && word.box.bottom() < 724,
               qPrintable(word.text));
    }
    QCOMPARE(footerWords.join(QLatin1Char(' ')),
             QStringLiteral("page %1 ").arg(number) + footer.simplified());
    QVERIFY(qAbs(page.footer.at(0).box.left() - 40) < 1);
    QVERIFY(qAbs(page.footer.at(2).box.left() - 100) < 1);
  }

private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    // The print dialog proposes a file in the home folder: keep it inside the test.
    qputenv("HOME", dir_.path().toLocal8Bit());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }

  void footerText_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates)
                           << QStringLiteral("9:05 PM, 3/4/26");
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany)
                           << QStringLiteral("21:05, 04.03.26");
    QTest::newRow("en_GB") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                           << QStringLiteral("21:05, 04/03/2026");
  }

  // The user's short time, ", ", the user's short date.
  void footerText() {
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QLocale::setDefault(locale);
    const QString footer = HelpFooterText(QDateTime(QDate(2026, 3, 4), QTime(21, 5, 42)));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(footer, expected);
  }

  void pages_data() {
    QTest::addColumn<int>("fullPages");
    QTest::addColumn<int>("extraLines");
    QTest::addColumn<QPrinter::PrinterMode>("mode");
    for (const auto &[name, mode] : {std::pair{"96 dpi", QPrinter::ScreenResolution},
                                     {"1200 dpi", QPrinter::HighResolution}}) {
      QTest::addRow("one line, %s", name) << 0 << 1 << mode;
      QTest::addRow("one page full, %s", name) << 1 << 0 << mode;
      QTest::addRow("two pages full, %s", name) << 2 << 0 << mode;
      QTest::addRow("two pages and a line, %s", name) << 2 << 1 << mode;
    }
  }

  // n pages of one-line paragraphs: n pages numbered 1..n, each line printed once, in
  // order, all pages but the last full, and no blank page after the last line.
  void pages() {
    QFETCH(int, fullPages);
    QFETCH(int, extraLines);
    QFETCH(QPrinter::PrinterMode, mode);
    const int perPage = linesPerPage(mode);
    QVERIFY(perPage > 0);
    const int lines = fullPages * perPage + extraLines;
    const int expectedPages = fullPages + (extraLines > 0 ? 1 : 0);
    const QString footer = footerFor(QDateTime(QDate(2026, 12, 11), QTime(14, 7)));
    int printed = 0;
    const auto pages = print(numberedLines(lines), mode, footer, QTest::currentDataTag(), &printed);
    QCOMPARE(pages.size(), expectedPages);
    QCOMPARE(printed, expectedPages);

    int next = 1;
    for (int page = 0; page < pages.size(); ++page) {
      checkPage(pages.at(page), page + 1, footer);
      if (QTest::currentTestFailed())
        return;
      const QList<Word> &body = pages.at(page).body;
      QVERIFY2(!body.isEmpty(), "blank page");
      for (int i = 0; i < body.size(); i += 5)
        QCOMPARE(body.at(i).text, QStringLiteral("Line%1").arg(next++, 4, 10, QLatin1Char('0')));
      if (page + 1 < pages.size())
        QCOMPARE(body.size() / 5, perPage);
    }
    QCOMPARE(next, lines + 1);
  }

  void wrapping_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QPrinter::PrinterMode>("mode");
    for (const auto &[name, mode] : {std::pair{"96 dpi", QPrinter::ScreenResolution},
                                     {"1200 dpi", QPrinter::HighResolution}}) {
      QTest::addRow("long paragraphs, %s", name) << longParagraphs() << mode;
      QTest::addRow("a word wider than the page, %s", name)
          << QStringLiteral("Before ") + QString(700, QLatin1Char('W')) + QStringLiteral(" after")
          << mode;
      QTest::addRow("help text, %s", name) << Help::HelpText() << mode;
    }
  }

  // Paragraphs wrap inside the body's width and flow across pages: every character
  // printed once, in order, inside the body.
  void wrapping() {
    QFETCH(QString, text);
    QFETCH(QPrinter::PrinterMode, mode);
    const QString footer = footerFor(QDateTime(QDate(2027, 1, 2), QTime(8, 30)));
    const auto pages = print(text, mode, footer, QTest::currentDataTag());
    QVERIFY(!pages.isEmpty());
    QString printedText;
    for (int page = 0; page < pages.size(); ++page) {
      checkPage(pages.at(page), page + 1, footer);
      if (QTest::currentTestFailed())
        return;
      QVERIFY(!pages.at(page).body.isEmpty());
      for (const Word &word : pages.at(page).body)
        printedText += word.text;
    }
    QCOMPARE(printedText, withoutSpaces(text));
  }

  void helpTextFitsOnePage() {
    const QString footer = footerFor(QDateTime(QDate(2026, 12, 11), QTime(9, 41)));
    const auto pages =
        print(Help::HelpText(), QPrinter::HighResolution, footer, QStringLiteral("help"));
    QCOMPARE(pages.size(), 1);
    const QString text = pdfPageText(pdfPath(QStringLiteral("help")), 1);
    QVERIFY(text.contains(QStringLiteral("page 1")));
    QVERIFY(text.contains(QStringLiteral("9:41 AM, 12/11/26")));
    QVERIFY(text.contains(QStringLiteral("Vidurara was developed")));
  }

  // A printer that cannot start (here: a file in a missing folder) prints nothing and
  // says so to its caller instead of failing later.
  void printerThatCannotStart() {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString output = dir_.filePath(QStringLiteral("missing/folder/help.pdf"));
    printer.setOutputFileName(output);
    const auto document = helpLikeDocument(Help::HelpText());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".*")));
    QCOMPARE(PrintHelpText(printer, *document, QStringLiteral("x")), 0);
    QVERIFY(!QFile::exists(output));
  }

  void dialog_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("helpOpen");
    QTest::newRow("cancel, help closed") << false << false;
    QTest::newRow("cancel, help open") << false << true;
    QTest::newRow("print, help closed") << true << false;
    QTest::newRow("print, help open") << true << true;
  }

  // "Print Help" through the real print dialog, answered here: cancel prints nothing
  // and opens nothing; printing to a file gives the help text on one page with the time
  // at which the command was chosen, and opens the help window if needed.
  void dialog() {
    QFETCH(bool, accept);
    QFETCH(bool, helpOpen);
    delete SingleInstance<Help>::find();
    if (helpOpen) {
      Help *help = SingleInstance<Help>::get();
      help->show();
      QVERIFY(QTest::qWaitForWindowExposed(help));
    }
    const QString output = pdfPath(QStringLiteral("dialog-") + QTest::currentDataTag());
    const QStringList filesBefore = QDir(dir_.path()).entryList(QDir::Files);

    bool answered = false;
    QString answerProblem;
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, this, [&] {
      auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible())
        return;
      poll.stop();
      answered = true;
      if (dialog->parentWidget())
        answerProblem = QStringLiteral("the print dialog has a parent");
      auto *buttons = dialog->findChild<QDialogButtonBox *>();
      if (!buttons) {
        answerProblem = QStringLiteral("no buttons");
        dialog->reject();
        return;
      }
      if (!accept) {
        buttons->button(QDialogButtonBox::Cancel)->click();
        return;
      }
      auto *file = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
      if (!file) {
        answerProblem = QStringLiteral("no output file field");
        dialog->reject();
        return;
      }
      file->setText(output);
      buttons->button(QDialogButtonBox::Ok)->click();
    });
    poll.start();

    const QString footerBefore = HelpFooterText(QDateTime::currentDateTime());
    QVERIFY(FilePrintHelp());
    const QString footerAfter = HelpFooterText(QDateTime::currentDateTime());
    QVERIFY(answered);
    QVERIFY2(answerProblem.isEmpty(), qPrintable(answerProblem));

    if (!accept) {
      QCOMPARE(QDir(dir_.path()).entryList(QDir::Files), filesBefore);
      QCOMPARE(SingleInstance<Help>::find() != nullptr, helpOpen);
      QCOMPARE(QApplication::activeModalWidget(), nullptr);
      return;
    }
    Help *help = SingleInstance<Help>::find();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(pdfPages(output), 1);
    const QString text = pdfPageText(output, 1);
    QVERIFY(text.contains(QStringLiteral("Vidurara was developed")));
    QVERIFY(text.contains(QStringLiteral("page 1")));
    QVERIFY2(text.contains(footerBefore) || text.contains(footerAfter), qPrintable(text));
  }

  void cleanupTestCase() { delete SingleInstance<Help>::find(); }
};

QTEST_MAIN(TestHelpPrinting)
#include "test_help_printing.moc"
