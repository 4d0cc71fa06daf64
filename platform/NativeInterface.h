// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QRegion>

class QImage;
class QWindow;

namespace platform {

// What the window system says of the pointer, the modifier keys and the mouse
// button at the moment of one query, whichever application has the focus.
struct InputState {
  QPoint pointer; // global, Qt's pixels from the main screen's top-left corner
  bool control = false;
  bool shift = false;
  bool alt = false;         // Alt, Option on macOS
  bool mouseButton = false; // a button held down, or pressed since the previous query
};

// Everything the program needs the operating system to answer or do that Qt cannot.
// One implementation per window system; the only platform conditionals live in
// NativeInterface.cpp. All calls are made on the GUI thread.
class NativeInterface : public QObject {
  Q_OBJECT
public:
  NativeInterface() = default;
  NativeInterface(const NativeInterface &) = delete;
  NativeInterface &operator=(const NativeInterface &) = delete;
  ~NativeInterface() override = default;

  // "x11", or "qt" for the fallback that has only what Qt offers.
  virtual const char *name() const = 0;

  // True when queryInput() sees keys and buttons also while other applications
  // have the focus. The fallback answers false.
  virtual bool hasGlobalInput() const = 0;

  // One round trip to the window system.
  virtual InputState queryInput() = 0;

  // Forgets presses remembered since the last query (see mouseButton), without a
  // round trip; a button still held shows at the next query.
  virtual void forgetPresses() {}

  // Whether translucent windows are composited now. Without a compositing manager an
  // X11 window's transparent pixels show black, so callers must shape the window.
  virtual bool compositorRunning() = 0;

  // The flags of an overlay window: frameless, above the others, never focused nor
  // activated, in no task bar or window switcher.
  virtual Qt::WindowFlags overlayWindowFlags() const {
    return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
           Qt::WindowDoesNotAcceptFocus | Qt::NoDropShadowWindowHint;
  }

  // Whether the window's own transparent pixels let the screen show through: a
  // compositing manager runs and the window got a visual with an alpha channel.
  virtual bool translucent(QWindow *window) = 0;

  // Presses outside `region` (the window's device pixels) reach the windows beneath.
  virtual void setInputRegion(QWindow *window, const QRegion &region) = 0;

  // Only `region` (device pixels) of the window is shown; an empty region with `whole` true removes
  // the shape again so that the whole window shows.
  virtual void setVisibleRegion(QWindow *window, const QRegion &region, bool whole) = 0;

  // Keeps the window above every other, also above windows raised after it.
  virtual void raise(QWindow *window) = 0;

  // Moves and resizes a frameless top-level window, raising it when `raise` is true, in
  // one request. The geometry is in the window system's device pixels (see
  // toDevicePixels). Qt learns the new geometry afterwards, from the window system's
  // notification.
  virtual void setGeometry(QWindow *window, const QRect &geometry, bool raise) = 0;

  // Replaces the window's pixels with `image` (premultiplied ARGB, the window's size in
  // device pixels) at once. False when this back end cannot: the caller paints through Qt instead.
  virtual bool putImage(QWindow *window, const QImage &image) = 0;

  // Returns when the window system has handled every request sent so far.
  virtual void sync() = 0;

signals:
  // A compositing manager started or stopped.
  void compositorChanged(bool running);
};

// Qt's pixels, in which every position of this program is given, and the window
// system's device pixels, screen by screen. They differ when Qt scales the interface
// (a scale factor or a font resolution above 96 dpi); Qt keeps each screen's origin.
QPoint toDevicePixels(QPoint logical);
QPoint fromDevicePixels(QPoint device);

// The implementation for this session, created on first use.
NativeInterface &native();

// Called before the QApplication exists: picks the Qt platform plugin this program
// needs (XWayland under a Wayland session).
void prepareApplication();

} // namespace platform
