// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "EasyOverlayWindow.h"

// The circle overlay: the ring around the pointer and the red ring of a click.
class MagnifyOverlay : public EasyOverlayWindow {
  Q_OBJECT
public:
  void doIt(std::int32_t width, std::int32_t height);
  void dolt1(std::int32_t width, std::int32_t height);

protected:
  bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2,
                 std::int32_t i3) override;
};
