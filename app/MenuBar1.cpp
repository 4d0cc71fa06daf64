// Vidurara: a ring around the mouse pointer for presentations.
#include "MenuBar1.h"

MenuBar1::MenuBar1() = default;
