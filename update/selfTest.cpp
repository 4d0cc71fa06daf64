// Vidurara: a ring around the mouse pointer for presentations.
#include "selfTest.h"

selfTest::selfTest() {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Self Test"));
}
