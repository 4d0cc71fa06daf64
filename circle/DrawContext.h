// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QImage>
#include <QString>

// Value types of the drawing context. Context coordinates: pixels, origin at the
// window's bottom-left corner, y upward.
struct ContextRect {
  double x = 0, y = 0, width = 0, height = 0;
};
struct ContextPoint {
  double X = 0, Y = 0;
};
struct ContextImage {
  QImage image; // premultiplied ARGB, the picture with its mask applied
};

ContextRect MakeContextRect(double x, double y, double width, double height);
ContextPoint MakeContextPoint(double x, double y);
// The picture with the mask's transparency: where the mask is white the picture is
// transparent (a null mask leaves the picture as it is).
ContextImage CreateContextImage(const QImage &picture, const QImage &mask);

class OverlayWindow;

// The 2-D vector context of one overlay window: a current path, a current transform
// with save/restore, fill and stroke colours with alpha, line width, text, images and
// an explicit Flush that puts everything drawn since the last flush on the screen.
class DrawContext {
public:
  explicit DrawContext(OverlayWindow *window);
  DrawContext(const DrawContext &) = delete;
  DrawContext &operator=(const DrawContext &) = delete;
  ~DrawContext();

  void ClearRect(const ContextRect &rect);
  void SetRGBFillColor(double red, double green, double blue, double alpha);
  void SetRGBStrokeColor(double red, double green, double blue, double alpha);
  void SetLineWidth(double width);

  void BeginPath();
  void MoveToPoint(double x, double y);
  void AddLineToPoint(double x, double y);
  void AddQuadCurveToPoint(double cpx, double cpy, double x, double y);
  void AddArc(double x, double y, double radius, double startAngle, double endAngle,
              bool clockwise);
  void ClosePath();
  void StrokePath();
  void FillPath();

  void SaveGState();
  void RestoreGState();
  void TranslateCTM(double tx, double ty);
  void ScaleCTM(double sx, double sy);

  void FillRect(const ContextRect &rect);
  void StrokeRect(const ContextRect &rect);

  void SelectFont(const QString &name, double size, int encoding);
  void ShowTextAtPoint(const QString &text, double x, double y);
  void DrawPicture(const ContextImage &image, const ContextRect &rect);

  void Flush();

  // The current frame as the screen would show it, `width` x `height` pixels with
  // the window's top-left corner at (0, 0). For tests and benchmarks.
  QImage render(int width, int height) const;

private:
  struct State;
  State *d;
};
