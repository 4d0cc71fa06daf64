// Vidurara: a ring around the mouse pointer for presentations.
#include "MagnifyOverlay.h"

#include "GlobalInput.h"
#include "Module1.h"
#include "prefModule.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr ColorValue ClickColor = RGBColor(200, 0, 0);
// The ring's centre may sit a pixel off the pointer (truncation): the hole keeps the
// pointer clear with a pixel to spare.
constexpr double MinimumHoleRadius = 2.0;

// Settings come from a hand-editable file: keep extreme values from overflowing.
std::int32_t saturated(double v) {
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = std::numeric_limits<std::int32_t>::max();
  return std::int32_t(std::clamp(std::trunc(v), lo, hi));
}

} // namespace

std::int32_t RingOrigin(std::int32_t centre, std::int32_t diameter) {
  return saturated(double(centre) - double(diameter) / 2.0);
}

void MagnifyOverlay::doIt(std::int32_t, std::int32_t) {
  // Not flushed yet: the empty frame never shows.
  Clear();
  LineWidth(prefModule::CircleLineWidth);
  ForeColor(Module1::CircleColor);
  strokeRingAtPointer(prefModule::CircleSize);
  DrawWindow();
}

void MagnifyOverlay::dolt1(std::int32_t, std::int32_t) {
  LineWidth(prefModule::CircleLineWidth);
  Module1::CircleDiameter = prefModule::CircleSize;
  Clear();
  DrawWindow();
  ForeColor(ClickColor);
  strokeRingAtPointer(Module1::CircleDiameter);
  DrawWindow();
}

void MagnifyOverlay::strokeRingAtPointer(std::int32_t diameter) {
  // The pointer relative to the window, not its screen position: once the overlay has
  // been dragged by its ring, the two differ and the ring must still surround it.
  const QPoint p = globalInput().Pointer();
  const std::int32_t x = saturated(double(p.x()) - Left());
  const std::int32_t y = saturated(double(p.y()) - Top());
  // Settings from a hand-edited file can leave the ring no hole (a line as wide as
  // half the ring): the pixels under the pointer would then be drawn and take every
  // click meant for the presented application. Such a ring is not drawn.
  if (double(diameter) / 2.0 - LineWidth() < MinimumHoleRadius)
    return;
  // The stroke is centred on the path: a box of diameter - L keeps its outer edge
  // at diameter / 2.
  const std::int32_t box = saturated(double(diameter) - LineWidth());
  DrawOval(RingOrigin(x, diameter), RingOrigin(y, diameter), box, box);
}

bool MagnifyOverlay::MouseDown(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                               std::int32_t) {
  return true;
}
