// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

// The application object's two ring operations. App inherits them, so that they are
// App::NewOverlay and App::DrawCircle, while the circle code needs no App.
struct CircleCommands {
  // Makes a new overlay over the main screen's available area, stores it in
  // Module1::Overlay and draws the ring once.
  static void NewOverlay();
  // Clears the overlay and draws the ring around the pointer.
  static void DrawCircle();
};
