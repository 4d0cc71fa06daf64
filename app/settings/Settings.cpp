// Vidurara: a ring around the mouse pointer for presentations.
// The settings are header-only values; this file gives the library an object file.
#include "Module1.h"
#include "prefModule.h"
