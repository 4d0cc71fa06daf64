// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "EasyOverlayWindow.h"

#include <cstdint>

// The circle overlay: the ring around the pointer and the red ring of a click.
class MagnifyOverlay : public EasyOverlayWindow {
  Q_OBJECT
public:
  // The normal ring: the whole window cleared, one ring of prefModule::CircleSize in
  // Module1::CircleColor around the pointer, flushed. The two sizes are the callers'
  // and are not read: the settings are, afresh on every call.
  virtual void doIt(std::int32_t width, std::int32_t height);
  // The clicked ring: red 200, 0, 0, of the size prefModule::CircleSize has now,
  // around the pointer. It stays until the next doIt.
  virtual void dolt1(std::int32_t width, std::int32_t height);

protected:
  // Every press on a drawn pixel is taken, so that the overlay can be dragged.
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2,
                 std::int32_t i3) override;

private:
  void strokeRingAtPointer(std::int32_t diameter);
};

// One coordinate of the top-left corner of a ring of outer diameter `diameter` around
// `centre`: centre - diameter / 2 in double precision, truncated toward zero, so an
// odd diameter or a ring across the window's edge lands where the surface expects it.
std::int32_t RingOrigin(std::int32_t centre, std::int32_t diameter);
