// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QPoint>

// The global pointer, key and mouse-button state, whichever application has the
// focus. Refresh takes one snapshot from the window system (one round trip); the
// queries read that snapshot, so a tracking tick costs one round trip however many
// keys it asks about. Tests put a scripted source in its place.
class GlobalInput {
public:
  GlobalInput() = default;
  GlobalInput(const GlobalInput &) = delete;
  GlobalInput &operator=(const GlobalInput &) = delete;
  virtual ~GlobalInput() = default;

  virtual void Refresh() = 0;
  // Forgets presses the window system remembered since the last Refresh.
  virtual void ForgetPresses() {}
  virtual bool AsyncControlKey() = 0;
  virtual bool AsyncShiftKey() = 0;
  // The Alt key, Option on macOS.
  virtual bool AsyncAltKey() = 0;
  // Any mouse button held down.
  virtual bool MouseDown() = 0;
  // Global pixels from the main screen's top-left corner.
  virtual QPoint Pointer() = 0;
};

// The source in use: the window system's unless a test has put another in place.
GlobalInput &globalInput();
// Puts `input` in place (not owned); null restores the window system's.
void setGlobalInput(GlobalInput *input);
