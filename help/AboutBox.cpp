// Vidurara: a ring around the mouse pointer for presentations.
#include "AboutBox.h"

AboutBox::AboutBox() {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About..."));
}
