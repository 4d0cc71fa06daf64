// Vidurara: a ring around the mouse pointer for presentations.
#include "Help.h"

#include "ProductInfo.h"

#include <QFont>
#include <QPalette>
#include <QStringList>

Help::Help() : EditField1(new QPlainTextEdit(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  // A document window with a close box only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("Help"));
  setFixedSize(350, 257);

  EditField1->setObjectName(QStringLiteral("EditField1"));
  EditField1->setGeometry(20, 19, 310, 218);
  EditField1->setFont(QFont(QStringLiteral("Helvetica Neue"), 12));
  EditField1->setReadOnly(true);
  // Read-only must not mean unselectable: the reader may copy from the help.
  EditField1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  EditField1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  EditField1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  EditField1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  EditField1->setTabChangesFocus(true);
  EditField1->setFrameShape(QFrame::StyledPanel);

  QPalette palette = EditField1->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  // Hide the selection while the text area does not have the focus.
  palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
  EditField1->setPalette(palette);

  EditField1->setPlainText(HelpText());
}

QString Help::HelpText() {
  const QStringList paragraphs = {
      QStringLiteral(
          "Vidurara was developed to assist with presentations by providing a colored circle "
          "which surrounds the mouse.  You can turn this circle on and off with two shortcuts "
          "(Control-Shift to turn on, Option-Shift to turn off).  When you click on the mouse, "
          "the circle turns red for a short time."),
      QStringLiteral(
          "The small Control Panel may be dragged anywhere on the screen.  The user can close "
          "Vidurara by clicking on the Control Panel's red (close) button at the top left "
          "corner.  The Control Panel may be minimized.  The two shortcuts may be used with the "
          "Control Panel minimized."),
      QStringLiteral("You can set four preferences from the Preferences Window:"),
      QStringLiteral("  a.  Turn off the circle after a mouse click."),
      QStringLiteral("  b.  Set the circle border color (click on the rectangle, choose a color "
                     "from the color panel, and click on the OK button)."),
      QStringLiteral("  c.  Set the the circle size with a slider."),
      QStringLiteral("  d.  Set the circle border thickness with a slider."),
      QStringLiteral("Preference settings and Control Panel window position are saved between "
                     "sessions."),
      QStringLiteral("Icon Credit:  The ring icon was drawn for Vidurara by ") +
          QString::fromUtf8(ProductInfo::DeveloperName) + QLatin1Char('.'),
  };
  // Each line end starts a new block of the text area; an empty block separates paragraphs.
  return paragraphs.join(QStringLiteral("\n\n"));
}
