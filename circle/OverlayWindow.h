// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QObject>

#include <cstdint>
#include <memory>

#include <QImage>
#include <QRect>
#include <QRegion>

class DrawContext;
class OverlayNativeWindow;
class QMouseEvent;
class QWidget;
class QWindow;

// A borderless, per-pixel transparent window above every other window that never
// takes the focus. Presses on transparent pixels reach the windows beneath; presses
// on drawn pixels reach the overlay unless it ignores clicks. Positions are screen
// pixels from the main screen's top-left corner, y downward.
//
// The window is logical: Left, Top, Width, Height, coordinates and events are those of
// a window of the size asked for, but the native window that the system shows covers
// only what is drawn, so that neither time nor memory grow with the window's size.
// Without a compositing manager (X11) only the drawn pixels are shown, unsmoothed,
// through a window shape; the window follows a compositing manager starting or
// stopping. Create, draw and close on the GUI thread.
class OverlayWindow : public QObject {
  Q_OBJECT
public:
  OverlayWindow();
  ~OverlayWindow() override;

  // 0 when the window was made, non-zero otherwise.
  std::int32_t Create(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  // From now on mouse events reach the Event_ handlers below.
  void InstallEventHandler();
  // The overlay follows `window` (and its size when liveResize is true).
  void AttachToWindow(QWidget *window, bool liveResize);
  void Show();
  // Takes the window off the screen. Closing again does nothing; drawing on a closed
  // window shows nothing.
  void Close();
  bool IsClosed() const;

  bool IgnoreClicks() const;
  void IgnoreClicks(bool ignore);

  std::int32_t Left() const;
  std::int32_t Top() const;
  std::int32_t Width() const;
  std::int32_t Height() const;
  void Left(std::int32_t left);
  void Top(std::int32_t top);
  void Width(std::int32_t width);
  void Height(std::int32_t height);

  // The window's drawing context; null before Create. It lives as long as this object,
  // also after Close.
  DrawContext *Context();

  // What the system shows now, for tests and benchmarks: the native window (null before
  // Create and after Close), its place in window coordinates (empty when nothing is
  // drawn) and the pixels of it that catch presses (window coordinates).
  QWindow *nativeWindow() const;
  QRect shownRect() const;
  QRegion clickRegion() const;

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

  // Component events, in screen coordinates; dx, dy: the pointer's displacement since
  // the previous report. Presses and releases: i1 the button (1 left, 2 right,
  // 3 middle), i2 the click count, i3 the modifier keys (1 Shift, 2 Control, 4 Alt,
  // 8 Meta). Moves: i1 the modifier keys. Drags: i1 the button, i2 the modifier keys.
  // A drag is reported only after a press whose Event_MouseDown answered true, until
  // the button is released; other motion is a move. The results are not used.
  virtual bool Event_MouseDown(double x, double y, std::int32_t i1, std::int32_t i2,
                               std::int32_t i3);
  virtual bool Event_MouseUp(double x, double y, std::int32_t i1, std::int32_t i2, std::int32_t i3);
  virtual bool Event_MouseMoved(double x, double y, std::int32_t i1, double dx, double dy);
  virtual bool Event_MouseDragged(double x, double y, std::int32_t i1, double dx, double dy,
                                  std::int32_t i2);

private:
  friend class DrawContext;
  friend class OverlayNativeWindow;
  void presentFrame(DrawContext &context);
  void placeNative(bool raise);
  void reclip();
  void mouseEvent(QMouseEvent *event);
  void exposed();
  void compositorChanged();

  struct Private;
  std::unique_ptr<Private> d;
};
