// Vidurara: a ring around the mouse pointer for presentations.
#include "QtNativeInterface.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWindow>

namespace platform {

InputState QtNativeInterface::queryInput() {
  InputState s;
  s.pointer = QCursor::pos();
  const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
  s.control = mods & Qt::ControlModifier;
  s.shift = mods & Qt::ShiftModifier;
  s.alt = mods & Qt::AltModifier;
  s.mouseButton = QGuiApplication::mouseButtons() != Qt::NoButton;
  return s;
}

namespace {
// An empty mask means "no mask" to Qt, the whole window: nothing is a pixel outside it.
QRegion maskOf(const QRegion &region) { return region.isEmpty() ? QRegion(-1, -1, 1, 1) : region; }
} // namespace

void QtNativeInterface::setInputRegion(QWindow *window, const QRegion &region) {
  // Qt has no separate input shape: the mask shapes both what shows and what is hit.
  if (window)
    window->setMask(maskOf(region));
}

void QtNativeInterface::setVisibleRegion(QWindow *window, const QRegion &region, bool whole) {
  if (window)
    window->setMask(whole ? QRegion() : maskOf(region));
}

void QtNativeInterface::raise(QWindow *window) {
  if (window)
    window->raise();
}

void QtNativeInterface::setGeometry(QWindow *window, const QRect &geometry, bool raise) {
  if (!window)
    return;
  const qreal ratio = window->devicePixelRatio();
  window->setGeometry(
      QRect(fromDevicePixels(geometry.topLeft()), (QSizeF(geometry.size()) / ratio).toSize()));
  if (raise)
    window->raise();
}

} // namespace platform
