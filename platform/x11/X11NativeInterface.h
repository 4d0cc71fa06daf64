// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "NativeInterface.h"

#include <QAbstractNativeEventFilter>

#include <memory>

struct xcb_connection_t;

namespace platform {

// The X11 back end, on Qt's own xcb connection.
class X11NativeInterface final : public NativeInterface, public QAbstractNativeEventFilter {
public:
  // Null when Qt runs on another platform than xcb.
  static std::unique_ptr<X11NativeInterface> create();
  ~X11NativeInterface() override;

  const char *name() const override { return "x11"; }
  bool hasGlobalInput() const override { return true; }
  InputState queryInput() override;
  void forgetPresses() override { pressedSinceQuery_ = false; }
  bool compositorRunning() override;
  // Also outside the window manager's care: a move is then one request to the server.
  Qt::WindowFlags overlayWindowFlags() const override {
    return NativeInterface::overlayWindowFlags() | Qt::X11BypassWindowManagerHint;
  }
  bool translucent(QWindow *window) override;
  void setInputRegion(QWindow *window, const QRegion &region) override;
  void setVisibleRegion(QWindow *window, const QRegion &region, bool whole) override;
  void raise(QWindow *window) override;
  void setGeometry(QWindow *window, const QRect &geometry, bool raise) override;
  bool putImage(QWindow *window, const QImage &image) override;
  void sync() override;

  bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
  explicit X11NativeInterface(xcb_connection_t *connection);
  void watchCompositorSelection();
  void watchButtonPresses();
  int depthOf(QWindow *window); // 0 when unknown

  xcb_connection_t *connection_;
  quint32 root_ = 0;
  // Pointer queries only; null when it could not be opened (Qt's connection serves).
  xcb_connection_t *queryConnection_ = nullptr;
  quint32 queryRoot_ = 0;
  quint32 cmAtom_ = 0;        // _NET_WM_CM_S<screen>
  int xfixesFirstEvent_ = -1; // -1: no XFixes, the selection is not watched
  int xinputOpcode_ = -1;     // -1: no XInput 2.1, presses are seen only while held
  bool pressedSinceQuery_ = false;
  bool filterInstalled_ = false;
  bool shapeAvailable_ = false;
  bool compositorKnown_ = false;
  bool compositor_ = false;
};

} // namespace platform
