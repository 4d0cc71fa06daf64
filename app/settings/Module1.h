// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <cstdint>
#include <memory>

class MagnifyOverlay;

// A colour value: red in bits 16..23, green in 8..15, blue in 0..7.
using ColorValue = std::uint32_t;

constexpr ColorValue RGBColor(int red, int green, int blue) {
  return (ColorValue(red & 255) << 16) | (ColorValue(green & 255) << 8) | ColorValue(blue & 255);
}
constexpr int RedOf(ColorValue c) { return int((c >> 16) & 255); }
constexpr int GreenOf(ColorValue c) { return int((c >> 8) & 255); }
constexpr int BlueOf(ColorValue c) { return int(c & 255); }

// The run-time state of the ring, and its persisted colour.
namespace Module1 {
// Owns the current overlay; storing a new one releases the old one.
inline std::shared_ptr<MagnifyOverlay> Overlay;
inline ColorValue CircleColor = 0;
inline std::int32_t CircleDiameter = 0;
inline bool MouseClicked = false;
// Opacity shared by every drawing surface: 0 draws nothing, 255 fully opaque.
inline std::int32_t MyTransparency = 0;
} // namespace Module1
