// Vidurara: a ring around the mouse pointer for presentations.
#include "Delay.h"

#include "NativeInterface.h"

#include <chrono>
#include <thread>

void Delay(double seconds) {
  if (!(seconds > 0))
    return;
  // The window system must have taken every drawing request before the caller stops
  // serving the event loop, or the last frame would only appear after the pause.
  platform::native().sync();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
