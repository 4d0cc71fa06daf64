// Vidurara: a ring around the mouse pointer for presentations.
// Placeholder until the circle overlay is built.
#include "MagnifyOverlay.h"

#include "CircleCommands.h"

void MagnifyOverlay::doIt(std::int32_t, std::int32_t) {}
void MagnifyOverlay::dolt1(std::int32_t, std::int32_t) {}
bool MagnifyOverlay::MouseDown(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t) {
  return true;
}
void CircleCommands::NewOverlay() {}
void CircleCommands::DrawCircle() {}
