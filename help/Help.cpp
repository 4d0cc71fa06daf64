// Vidurara: a ring around the mouse pointer for presentations.
#include "Help.h"

Help::Help() {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Help"));
}
