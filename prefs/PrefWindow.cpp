// Vidurara: a ring around the mouse pointer for presentations.
#include "PrefWindow.h"

PrefWindow::PrefWindow() {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Preferences"));
}
