// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

// Prints the help text through the platform's print dialog. Always true.
bool FilePrintHelp();
