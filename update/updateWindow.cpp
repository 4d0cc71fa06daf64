// Vidurara: a ring around the mouse pointer for presentations.
#include "updateWindow.h"

updateWindow::updateWindow() {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Update"));
}
