// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QWidget>

// The help window: the program's fixed help text in a read-only, scrolling text area.
// One at a time (SingleInstance<Help>); it deletes itself when closed.
class Help : public QWidget {
  Q_OBJECT
public:
  Help();

  // The fixed help text: paragraphs separated by an empty line, no line end at the end.
  static QString HelpText();

  QPlainTextEdit *const EditField1;
};
