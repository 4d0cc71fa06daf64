// Vidurara: a ring around the mouse pointer for presentations.
#include "CircleCommands.h"

#include "MagnifyOverlay.h"
#include "Module1.h"
#include "prefModule.h"

#include <QGuiApplication>
#include <QScreen>

#include <memory>

void CircleCommands::NewOverlay() {
  // The overlay it replaces has been closed by the caller; storing releases it.
  Module1::Overlay = std::make_shared<MagnifyOverlay>();
  MagnifyOverlay &overlay = *Module1::Overlay;
  const QScreen *screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  overlay.Init(0, 0, area.width(), area.height(), nullptr);
  overlay.Moveable = true;
  overlay.IgnoreClicks(false);
  DrawCircle();
}

void CircleCommands::DrawCircle() {
  // The first ticks can come before the first overlay exists.
  MagnifyOverlay *overlay = Module1::Overlay.get();
  if (!overlay)
    return;
  overlay->doIt(prefModule::CircleSize, prefModule::CircleSize);
  overlay->DrawWindow();
}
