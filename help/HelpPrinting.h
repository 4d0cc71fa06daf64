// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QDateTime>
#include <QString>

class QPrinter;
class QTextDocument;

// The page footer's time and date: the user's short time, ", ", the user's short date.
QString HelpFooterText(const QDateTime &when);

// Prints `text` on `printer`, set up by the caller: laid out 492 points wide and drawn
// into 672-point-high blocks at (36, 36) of each page's printable area, every page with
// "page N" and `footer` on the baseline 720. Returns the number of pages printed, 0 when
// the printer could not be started (the printing system reports why).
int PrintHelpText(QPrinter &printer, const QTextDocument &text, const QString &footer);

// The "Print Help" command: asks for a printer through the platform's print dialog and
// prints the help window's text, opening the help window when it is not open. Cancelling
// the dialog prints nothing. Always true (the command was handled).
bool FilePrintHelp();
