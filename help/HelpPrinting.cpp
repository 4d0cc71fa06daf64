// Vidurara: a ring around the mouse pointer for presentations.
// Placeholder until help printing is built.
#include "HelpPrinting.h"

bool FilePrintHelp() { return true; }
