// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "DrawContext.h"
#include "Module1.h"
#include "OverlayWindow.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

// An immediate-mode drawing surface on an overlay window, in integer pixels from the
// window's top-left corner, y downward. Each call converts to the context's
// bottom-left origin with the window's current height. Drawing shows at the next
// DrawWindow. Before Init every drawing operation does nothing.
class EasyOverlayWindow : public OverlayWindow {
  Q_OBJECT
public:
  EasyOverlayWindow();
  ~EasyOverlayWindow() override;

  std::optional<ContextRect> myRect; // the whole window, as at Init or Update
  DrawContext *myContext = nullptr;
  // When true, dragging a press on a drawn pixel moves the window.
  bool Moveable = false;

  void Init(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height,
            QWidget *parent);
  void Refresh();
  void Update();
  void Clear();
  void DrawWindow();

  ColorValue ForeColor() const;
  void ForeColor(ColorValue c);
  std::int32_t LineWidth() const;
  void LineWidth(std::int32_t n);
  double Transparency() const;
  void Transparency(std::int32_t t);
  QString TextFont() const;
  void TextFont(const QString &name);
  std::int32_t TextSize() const;
  void TextSize(std::int32_t size);

  void DrawOval(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  void FillOval(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  void FillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  void DrawRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);
  void DrawRoundRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     std::int32_t rw, std::int32_t rh);
  void FillRoundRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                     std::int32_t rw, std::int32_t rh);
  void doDrawRoundRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                       std::int32_t rw, std::int32_t rh, bool fill);
  void DrawBevelFrame(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, ColorValue c1,
                      ColorValue c2);
  void DrawString(const QString &text, std::int32_t x, std::int32_t y);
  // The shadow, moved right and down by offset, is drawn in `color` at the shadow's
  // opacity; then the text in the current colour and transparency.
  void DrawStringWithShadow(const QString &text, std::int32_t x, std::int32_t y,
                            std::int32_t offset, std::int32_t shadowTransparency, ColorValue color);
  // Measured with the surface's font and text size.
  std::int32_t StringWidth(const QString &text) const;
  // At its own size, top-left corner at (x, y); its alpha channel makes parts of it
  // transparent.
  void DrawPicture(const QImage &picture, std::int32_t x, std::int32_t y);

protected:
  // Hooks for subclasses; the defaults do nothing (MouseDown answers false).
  virtual void Paint(EasyOverlayWindow *surface);
  virtual bool MouseDown(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2,
                         std::int32_t i3);
  virtual void MouseDrag(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2);
  virtual void MouseUp(std::int32_t x, std::int32_t y, std::int32_t i1, std::int32_t i2,
                       std::int32_t i3);
  virtual void MouseMove(std::int32_t x, std::int32_t y, std::int32_t i1);
  virtual void WindowDragAction(std::int32_t left, std::int32_t top);

  bool Event_MouseDown(double x, double y, std::int32_t i1, std::int32_t i2,
                       std::int32_t i3) override;
  bool Event_MouseUp(double x, double y, std::int32_t i1, std::int32_t i2,
                     std::int32_t i3) override;
  bool Event_MouseMoved(double x, double y, std::int32_t i1, double dx, double dy) override;
  bool Event_MouseDragged(double x, double y, std::int32_t i1, double dx, double dy,
                          std::int32_t i2) override;

private:
  void setContextColor(ColorValue c, double alpha);
  void AddOval(DrawContext *context, ContextPoint centre, float rx, float ry);

  ColorValue myForeColor = 0;
  std::int32_t myLineWidth = 0;
  QString myTextFont;
  std::int32_t myTextSize = 0;
};
