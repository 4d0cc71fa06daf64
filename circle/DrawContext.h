// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <QTransform>

#include <vector>

class QPainter;

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
//
// The context does not paint into a window-sized image: it records the frame as a
// short list of operations in the window's top-left pixel coordinates. Flush compares
// that list with the one on the screen, so an unchanged frame costs nothing and a frame
// that only moves costs one window move; only new content is rendered, into an image
// the size of what is drawn. Points are fixed when they are added, with the current
// transform and the window's height at that moment.
class DrawContext {
public:
  // `window` may be null: the context then only records (and renders for tests), with
  // the height given here as the flip between its bottom-left and top-left origins.
  explicit DrawContext(OverlayWindow *window, int height = 0);
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
  QImage render(int width, int height, bool antialiased = true) const;

  // One recorded operation, in the window's top-left pixel coordinates.
  struct Op {
    enum Kind { Fill, Stroke, Clear, Image } kind = Fill;
    QPainterPath path; // Fill, Stroke
    QColor color;      // Fill, Stroke
    double width = 0;  // Stroke
    QRectF rect;       // Clear, Image
    QImage image;      // Image
  };
  using Frame = std::vector<Op>;

  // The frame being drawn (everything since the last whole clear).
  const Frame &frame() const { return frame_; }

  // Frame helpers, also used by the window to render and by tests.
  // The area `frame` paints, unclipped.
  static QRectF paintedBounds(const Frame &frame);
  // True when `b` is `a` moved by a whole number of pixels, given in `offset`.
  static bool isTranslation(const Frame &a, const Frame &b, QPoint *offset);
  static void paint(QPainter &painter, const Frame &frame, bool antialiased);

private:
  friend class OverlayWindow;

  void paintRect(const ContextRect &rect, void (DrawContext::*paint)());

  struct GState {
    QTransform ctm;
    QColor fill = Qt::black;
    QColor stroke = Qt::black;
    double lineWidth = 1;
    QString fontName;
    double fontSize = 0;
  };

  int height() const;
  QTransform deviceTransform() const; // context coordinates to window pixels
  QPointF device(double x, double y) const;
  void push(Op &&op);
  // The window shows a frame again from scratch (a compositing manager came or went).
  void invalidateScreen() { onScreenValid_ = false; }

  OverlayWindow *window_;
  int fixedHeight_;
  GState g_;
  std::vector<GState> saved_;
  QPainterPath path_; // current path, window pixels
  Frame frame_;
  Frame onScreen_;
  bool onScreenValid_ = false;
};
