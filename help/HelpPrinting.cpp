// Vidurara: a ring around the mouse pointer for presentations.
#include "HelpPrinting.h"

#include "Help.h"
#include "SingleInstance.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <memory>

namespace {

// Page geometry in points from the top-left corner of the printable area.
constexpr qreal BodyLeft = 36;
constexpr qreal BodyTop = 36;
constexpr qreal BodyWidth = 540 - 48;
constexpr qreal BodyHeight = 720 - 48;
constexpr qreal PageNumberX = 40;
constexpr qreal FooterX = 100;
constexpr qreal FooterBaseline = 720;

QFont bodyContextFont() {
  QFont font(QStringLiteral("Courier"), 10);
  font.setBold(true);
  return font;
}

QFont footerFont() {
  QFont font(QStringLiteral("Arial"), 10);
  font.setBold(false);
  return font;
}

} // namespace

QString HelpFooterText(const QDateTime &when) {
  const QLocale locale;
  return locale.toString(when.time(), QLocale::ShortFormat) + QStringLiteral(", ") +
         locale.toString(when.date(), QLocale::ShortFormat);
}

namespace {

// One laid-out line of the body and where it goes on its page.
struct PrintedLine {
  QTextLine line;
  QPointF origin; // the line's layout origin, relative to the body's corner on its page
};

// Splits the laid-out text into blocks of at most `height`: each block holds whole lines
// and ends before the first line that would cross its bottom, which starts the next one.
QList<QList<PrintedLine>> splitIntoBlocks(const QTextDocument &body, qreal height) {
  QList<QList<PrintedLine>> blocks(1);
  qreal blockTop = 0;
  for (QTextBlock block = body.begin(); block.isValid(); block = block.next()) {
    const QTextLayout *layout = block.layout();
    if (!layout)
      continue;
    const QPointF position = layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      const qreal top = position.y() + line.y();
      // A line taller than a whole block still gets a block of its own.
      if (top + line.height() - blockTop > height && !blocks.last().isEmpty()) {
        blocks.append(QList<PrintedLine>());
        blockTop = top;
      }
      blocks.last().append(PrintedLine{line, position - QPointF(0, blockTop)});
    }
  }
  return blocks;
}

} // namespace

int PrintHelpText(QPrinter &printer, const QTextDocument &text, const QString &footer) {
  QPainter painter;
  if (!painter.begin(&printer))
    return 0;

  // The painter works in device pixels; fonts given in points resolve against the
  // printer, so only positions need converting.
  const qreal pt = printer.resolution() / 72.0;

  // Lay out a copy with the printer's own font metrics at the body's width.
  std::unique_ptr<QTextDocument> body(text.clone());
  body->setDefaultFont(text.defaultFont());
  body->documentLayout()->setPaintDevice(&printer);
  body->setDocumentMargin(0);
  body->setTextWidth(BodyWidth * pt);
  body->documentLayout()->documentSize(); // completes the layout

  // Only whole lines go on a page, so nothing of the body is drawn (or found by a
  // reader's text search) outside its area.
  const auto blocks = splitIntoBlocks(*body, BodyHeight * pt);
  const QPointF corner(BodyLeft * pt, BodyTop * pt);
  for (int page = 0; page < blocks.size(); ++page) {
    if (page > 0)
      printer.newPage();

    painter.setFont(bodyContextFont());
    painter.setPen(Qt::black);
    for (const PrintedLine &printed : blocks.at(page))
      printed.line.draw(&painter, corner + printed.origin);

    painter.setFont(footerFont());
    painter.drawText(QPointF(PageNumberX * pt, FooterBaseline * pt),
                     QStringLiteral("page ") + QString::number(page + 1));
    painter.drawText(QPointF(FooterX * pt, FooterBaseline * pt), footer);
  }
  painter.end();
  return int(blocks.size());
}

bool FilePrintHelp() {
  // Every page shows the moment the command was chosen, not when it was printed.
  const QString footer = HelpFooterText(QDateTime::currentDateTime());

  QPrinter printer;
  QPrintDialog dialog(&printer, nullptr);
  if (dialog.exec() != QDialog::Accepted)
    return true;

  // The text comes from the help window, which opens for it when it is not open.
  Help *help = SingleInstance<Help>::find();
  if (!help) {
    help = SingleInstance<Help>::get();
    help->setGeometry(QRect(QPoint(20, 70), help->size()));
    help->show();
  }
  PrintHelpText(printer, *help->EditField1->document(), footer);
  return true;
}
