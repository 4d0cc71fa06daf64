// Vidurara: a ring around the mouse pointer for presentations.
#include "DrawContext.h"

#include "OverlayWindow.h"

#include <QFont>
#include <QPainter>
#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

ContextRect MakeContextRect(double x, double y, double w, double h) { return {x, y, w, h}; }
ContextPoint MakeContextPoint(double x, double y) { return {x, y}; }

ContextImage CreateContextImage(const QImage &picture, const QImage &mask) {
  QImage image = picture.convertToFormat(QImage::Format_ARGB32);
  if (!mask.isNull()) {
    const QImage m = mask.scaled(image.size()).convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
      auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
      const uchar *ml = m.constScanLine(y);
      // White in the mask is transparent, black opaque, grey in between.
      for (int x = 0; x < image.width(); ++x)
        line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]),
                        qAlpha(line[x]) * (255 - ml[x]) / 255);
    }
  }
  return {image.convertToFormat(QImage::Format_ARGB32_Premultiplied)};
}

namespace {

constexpr double kMiterLimit = 10; // as the classic 2-D context strokes

QColor colorOf(double r, double g, double b, double a) {
  auto c = [](double v) { return std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0); };
  return QColor::fromRgbF(float(c(r)), float(c(g)), float(c(b)), float(c(a)));
}

QPen penOf(const DrawContext::Op &op) {
  QPen pen(op.color, op.width);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  pen.setMiterLimit(kMiterLimit);
  return pen;
}

QRectF opBounds(const DrawContext::Op &op) {
  switch (op.kind) {
  case DrawContext::Op::Fill:
    return op.path.controlPointRect();
  case DrawContext::Op::Stroke: {
    if (op.width <= 0) // a hairline
      return op.path.controlPointRect().adjusted(-1, -1, 1, 1);
    QPainterPathStroker stroker(penOf(op));
    return stroker.createStroke(op.path).controlPointRect();
  }
  case DrawContext::Op::Image:
    return op.rect;
  case DrawContext::Op::Clear:
    break;
  }
  return {};
}

bool near(double a, double b) { return std::abs(a - b) < 1e-6; }

bool samePathMoved(const QPainterPath &a, const QPainterPath &b, QPointF d) {
  if (a.elementCount() != b.elementCount() || a.fillRule() != b.fillRule())
    return false;
  for (int i = 0; i < a.elementCount(); ++i) {
    const QPainterPath::Element ea = a.elementAt(i), eb = b.elementAt(i);
    if (ea.type != eb.type || !near(ea.x + d.x(), eb.x) || !near(ea.y + d.y(), eb.y))
      return false;
  }
  return true;
}

bool sameOpMoved(const DrawContext::Op &a, const DrawContext::Op &b, QPointF d) {
  if (a.kind != b.kind)
    return false;
  switch (a.kind) {
  case DrawContext::Op::Fill:
    return a.color == b.color && samePathMoved(a.path, b.path, d);
  case DrawContext::Op::Stroke:
    return a.color == b.color && a.width == b.width && samePathMoved(a.path, b.path, d);
  case DrawContext::Op::Clear:
    return a.rect.translated(d) == b.rect;
  case DrawContext::Op::Image:
    return a.rect.translated(d) == b.rect &&
           (a.image.cacheKey() == b.image.cacheKey() || a.image == b.image);
  }
  return false;
}

// The first point of an operation, to guess the offset between two frames.
bool anchorOf(const DrawContext::Op &op, QPointF *p) {
  if (op.kind == DrawContext::Op::Fill || op.kind == DrawContext::Op::Stroke) {
    if (op.path.elementCount() == 0)
      return false;
    *p = QPointF(op.path.elementAt(0).x, op.path.elementAt(0).y);
    return true;
  }
  *p = op.rect.topLeft();
  return true;
}

} // namespace

DrawContext::DrawContext(OverlayWindow *window, int height)
    : window_(window), fixedHeight_(height) {}

DrawContext::~DrawContext() = default;

int DrawContext::height() const { return window_ ? window_->Height() : fixedHeight_; }

QTransform DrawContext::deviceTransform() const {
  // Context y runs upward from the window's bottom edge; window pixels downward.
  return g_.ctm * QTransform(1, 0, 0, -1, 0, height());
}

QPointF DrawContext::device(double x, double y) const {
  return deviceTransform().map(QPointF(x, y));
}

void DrawContext::push(Op &&op) { frame_.push_back(std::move(op)); }

void DrawContext::ClearRect(const ContextRect &rect) {
  const QRectF r = deviceTransform().mapRect(QRectF(rect.x, rect.y, rect.width, rect.height));
  if (r.isEmpty() || frame_.empty())
    return;
  // A clear that takes everything away starts the frame over: the list stays short
  // however many frames are drawn.
  const QRectF window(0, 0, window_ ? window_->Width() : r.right(), height());
  if (r.contains(window) || r.contains(paintedBounds(frame_))) {
    frame_.clear();
    return;
  }
  Op op;
  op.kind = Op::Clear;
  op.rect = r;
  push(std::move(op));
}

void DrawContext::SetRGBFillColor(double r, double g, double b, double a) {
  g_.fill = colorOf(r, g, b, a);
}

void DrawContext::SetRGBStrokeColor(double r, double g, double b, double a) {
  g_.stroke = colorOf(r, g, b, a);
}

void DrawContext::SetLineWidth(double width) { g_.lineWidth = width; }

void DrawContext::BeginPath() { path_ = QPainterPath(); }

void DrawContext::MoveToPoint(double x, double y) { path_.moveTo(device(x, y)); }

void DrawContext::AddLineToPoint(double x, double y) {
  if (path_.elementCount() == 0)
    path_.moveTo(device(x, y));
  else
    path_.lineTo(device(x, y));
}

void DrawContext::AddQuadCurveToPoint(double cpx, double cpy, double x, double y) {
  if (path_.elementCount() == 0)
    path_.moveTo(device(cpx, cpy));
  path_.quadTo(device(cpx, cpy), device(x, y));
}

void DrawContext::AddArc(double x, double y, double radius, double startAngle, double endAngle,
                         bool clockwise) {
  // Angles run counter-clockwise in the y-up context space unless `clockwise`; a sweep
  // of a full turn or more is one full circle.
  constexpr double turn = 2 * M_PI;
  double sweep = endAngle - startAngle;
  if (clockwise) {
    if (sweep > 0)
      sweep = std::fmod(sweep, turn) - turn;
    sweep = std::max(sweep, -turn);
  } else {
    if (sweep < 0)
      sweep = std::fmod(sweep, turn) + turn;
    sweep = std::min(sweep, turn);
  }
  QPainterPath arc;
  arc.moveTo(x + radius * std::cos(startAngle), y + radius * std::sin(startAngle));
  // QPainterPath measures angles on a y-down screen: negate them for y-up.
  const double toDeg = 180.0 / M_PI;
  arc.arcTo(QRectF(x - radius, y - radius, 2 * radius, 2 * radius), -startAngle * toDeg,
            -sweep * toDeg);
  const QPainterPath mapped = deviceTransform().map(arc);
  if (path_.elementCount() == 0)
    path_ = mapped;
  else
    path_.connectPath(mapped);
}

void DrawContext::ClosePath() { path_.closeSubpath(); }

void DrawContext::StrokePath() {
  if (path_.elementCount() > 0 && g_.lineWidth >= 0 && g_.stroke.alpha() > 0) {
    Op op;
    op.kind = Op::Stroke;
    op.path = path_;
    op.color = g_.stroke;
    // The width scales with the transform as the path does.
    const QTransform t = g_.ctm;
    op.width = g_.lineWidth * std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    push(std::move(op));
  }
  path_ = QPainterPath();
}

void DrawContext::FillPath() {
  if (path_.elementCount() > 0 && g_.fill.alpha() > 0) {
    Op op;
    op.kind = Op::Fill;
    op.path = path_;
    op.path.setFillRule(Qt::WindingFill);
    op.color = g_.fill;
    push(std::move(op));
  }
  path_ = QPainterPath();
}

void DrawContext::SaveGState() { saved_.push_back(g_); }

void DrawContext::RestoreGState() {
  if (saved_.empty())
    return;
  g_ = saved_.back();
  saved_.pop_back();
}

void DrawContext::TranslateCTM(double tx, double ty) {
  g_.ctm = QTransform::fromTranslate(tx, ty) * g_.ctm;
}

void DrawContext::ScaleCTM(double sx, double sy) {
  g_.ctm = QTransform::fromScale(sx, sy) * g_.ctm;
}

void DrawContext::paintRect(const ContextRect &rect, void (DrawContext::*paint)()) {
  // A rectangle is painted as a path of its own; the caller's current path survives.
  const QPainterPath saved = path_;
  path_ = QPainterPath();
  MoveToPoint(rect.x, rect.y);
  AddLineToPoint(rect.x + rect.width, rect.y);
  AddLineToPoint(rect.x + rect.width, rect.y + rect.height);
  AddLineToPoint(rect.x, rect.y + rect.height);
  ClosePath();
  (this->*paint)();
  path_ = saved;
}

void DrawContext::FillRect(const ContextRect &rect) { paintRect(rect, &DrawContext::FillPath); }

void DrawContext::StrokeRect(const ContextRect &rect) { paintRect(rect, &DrawContext::StrokePath); }

void DrawContext::SelectFont(const QString &name, double size, int) {
  // Qt strings are Unicode: the encoding number has nothing left to choose.
  g_.fontName = name;
  g_.fontSize = size;
}

void DrawContext::ShowTextAtPoint(const QString &text, double x, double y) {
  if (text.isEmpty() || g_.fontSize <= 0 || g_.fill.alpha() == 0)
    return;
  QFont font(g_.fontName);
  font.setPixelSize(std::max(1, int(std::lround(g_.fontSize))));
  // Glyphs are laid out y-down with the baseline at 0, then placed at the point with
  // the current transform (without its flip of y, so the text stands upright).
  QPainterPath glyphs;
  glyphs.addText(QPointF(0, 0), font, text);
  const QPointF at = device(x, y);
  QTransform t = g_.ctm;
  t = QTransform(t.m11(), -t.m12(), -t.m21(), t.m22(), 0, 0) *
      QTransform::fromTranslate(at.x(), at.y());
  Op op;
  op.kind = Op::Fill;
  op.path = t.map(glyphs);
  op.path.setFillRule(Qt::WindingFill);
  op.color = g_.fill;
  push(std::move(op));
}

void DrawContext::DrawPicture(const ContextImage &image, const ContextRect &rect) {
  if (image.image.isNull())
    return;
  Op op;
  op.kind = Op::Image;
  op.rect = deviceTransform().mapRect(QRectF(rect.x, rect.y, rect.width, rect.height));
  op.image = image.image;
  if (!op.rect.isEmpty())
    push(std::move(op));
}

void DrawContext::Flush() {
  if (window_)
    window_->presentFrame(*this);
  else
    onScreen_ = frame_;
}

QImage DrawContext::render(int width, int height, bool antialiased) const {
  QImage image(std::max(0, width), std::max(0, height), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  paint(painter, frame_, antialiased);
  return image;
}

QRectF DrawContext::paintedBounds(const Frame &frame) {
  QRectF bounds;
  for (const Op &op : frame)
    if (op.kind != Op::Clear)
      bounds |= opBounds(op);
  return bounds;
}

bool DrawContext::isTranslation(const Frame &a, const Frame &b, QPoint *offset) {
  if (a.size() != b.size() || a.empty())
    return false;
  QPointF pa, pb;
  if (!anchorOf(a.front(), &pa) || !anchorOf(b.front(), &pb))
    return false;
  const QPointF d = pb - pa;
  const QPoint whole(int(std::lround(d.x())), int(std::lround(d.y())));
  if (!near(d.x(), whole.x()) || !near(d.y(), whole.y()))
    return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!sameOpMoved(a[i], b[i], QPointF(whole)))
      return false;
  if (offset)
    *offset = whole;
  return true;
}

void DrawContext::paint(QPainter &painter, const Frame &frame, bool antialiased) {
  painter.setRenderHint(QPainter::Antialiasing, antialiased);
  painter.setRenderHint(QPainter::TextAntialiasing, antialiased);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, antialiased);
  for (const Op &op : frame) {
    switch (op.kind) {
    case Op::Fill:
      painter.fillPath(op.path, op.color);
      break;
    case Op::Stroke:
      painter.strokePath(op.path, penOf(op));
      break;
    case Op::Clear:
      painter.setCompositionMode(QPainter::CompositionMode_Clear);
      painter.fillRect(op.rect, Qt::transparent);
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
      break;
    case Op::Image:
      painter.drawImage(op.rect, op.image);
      break;
    }
  }
}
