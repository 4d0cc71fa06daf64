// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

// Holds up the caller for `seconds` (nothing for zero or less). What was drawn and
// flushed before the call is on the screen during the pause.
void Delay(double seconds);
