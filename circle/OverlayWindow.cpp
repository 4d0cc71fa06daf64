// Vidurara: a ring around the mouse pointer for presentations.
#include "OverlayWindow.h"

#include "DrawContext.h"
#include "NativeInterface.h"

#include <QBackingStore>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleHints>
#include <QSurfaceFormat>
#include <QTransform>
#include <QWidget>
#include <QWindow>

#include <vector>

// The window the system shows: it covers only the drawn part of the logical window.
class OverlayNativeWindow final : public QWindow {
public:
  explicit OverlayNativeWindow(OverlayWindow *owner) : owner_(owner) {
    QSurfaceFormat format;
    format.setAlphaBufferSize(8); // a visual with an alpha channel: per-pixel translucency
    setFormat(format);
    setSurfaceType(QSurface::RasterSurface);
    setFlags(platform::native().overlayWindowFlags());
  }

  // Painting through Qt where the platform layer cannot put pixels itself.
  QBackingStore *store() {
    if (!store_)
      store_ = std::make_unique<QBackingStore>(this);
    return store_.get();
  }
  bool hasStore() const { return store_ != nullptr; }

  // Off the screen now, deleted once the event loop is back: the owner may close it
  // from inside one of its own events.
  void dispose() {
    owner_ = nullptr;
    hide();
    deleteLater();
  }

protected:
  bool event(QEvent *event) override {
    if (!owner_)
      return QWindow::event(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
      owner_->mouseEvent(static_cast<QMouseEvent *>(event));
      return true;
    case QEvent::MouseButtonDblClick: // the second press came as a press already
      return true;
    case QEvent::Expose:
      if (isExposed())
        owner_->exposed();
      return true;
    default:
      return QWindow::event(event);
    }
  }

private:
  OverlayWindow *owner_;
  std::unique_ptr<QBackingStore> store_;
};

namespace {

// The pixels of `image` that are not fully transparent, as rows of spans; equal
// neighbouring rows are merged, which keeps the list y-x banded.
QRegion drawnPixels(const QImage &image, QPoint offset) {
  std::vector<QRect> rects;
  std::vector<std::pair<int, int>> spans, previous;
  size_t bandStart = 0;
  for (int y = 0; y < image.height(); ++y) {
    spans.clear();
    const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
    for (int x = 0; x < image.width();) {
      if (qAlpha(line[x]) == 0) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < image.width() && qAlpha(line[x]) != 0)
        ++x;
      spans.emplace_back(start, x);
    }
    if (y > 0 && spans == previous && !spans.empty()) {
      for (size_t i = bandStart; i < rects.size(); ++i)
        rects[i].setBottom(rects[i].bottom() + 1);
      continue;
    }
    bandStart = rects.size();
    for (auto [a, b] : spans)
      rects.emplace_back(offset.x() + a, offset.y() + y, b - a, 1);
    previous = spans;
  }
  QRegion region;
  if (!rects.empty())
    region.setRects(rects.data(), int(rects.size()));
  return region;
}

int buttonNumber(Qt::MouseButton b) {
  switch (b) {
  case Qt::LeftButton:
    return 1;
  case Qt::RightButton:
    return 2;
  case Qt::MiddleButton:
    return 3;
  default:
    return 0;
  }
}

int modifierBits(Qt::KeyboardModifiers m) {
  return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
         (m & Qt::AltModifier ? 4 : 0) | (m & Qt::MetaModifier ? 8 : 0);
}

} // namespace

struct OverlayWindow::Private {
  std::unique_ptr<DrawContext> context;
  struct Disposer {
    void operator()(OverlayNativeWindow *w) const { w->dispose(); }
  };
  std::unique_ptr<OverlayNativeWindow, Disposer> native;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool created = false, shown = false, closed = false;
  bool ignoreClicks = false, eventsInstalled = false;

  // What is on the screen: the frame's image (kept to repaint exposed parts), its place
  // in window coordinates, and the pixels that are drawn (frame coordinates).
  QImage image;             // device pixels
  QRect rect;               // window coordinates
  bool rectClipped = false; // part of the frame fell outside the window
  QRegion drawn;            // device pixels of the image
  bool antialiased = true;
  bool shapedAsDrawn = false; // the visible shape is `drawn`, not the whole window

  // Mouse.
  bool dragging = false;
  bool havePrevious = false;
  QPointF previous;
  int clicks = 0;
  int lastButton = 0;
  QElapsedTimer sinceClick;

  QPointer<QWidget> attached;
  bool liveResize = false;
  QPoint attachOffset;
  QSize attachSizeDelta;
  QMetaObject::Connection compositorWatch;
};

OverlayWindow::OverlayWindow() : d(new Private) {}

OverlayWindow::~OverlayWindow() {
  QObject::disconnect(d->compositorWatch);
  d->native.reset();
}

std::int32_t OverlayWindow::Create(std::int32_t left, std::int32_t top, std::int32_t width,
                                   std::int32_t height) {
  if (!qGuiApp || d->created)
    return 1;
  if (width < 0 || height < 0)
    return 2;
  d->left = left, d->top = top, d->width = width, d->height = height;
  d->native.reset(new OverlayNativeWindow(this));
  d->native->setGeometry(left, top, 1, 1);
  d->native->create();
  if (!d->native->handle()) {
    d->native.reset();
    return 3;
  }
  d->context = std::make_unique<DrawContext>(this);
  d->created = true;
  d->compositorWatch =
      QObject::connect(&platform::native(), &platform::NativeInterface::compositorChanged, this,
                       [this] { compositorChanged(); });
  return 0;
}

void OverlayWindow::InstallEventHandler() { d->eventsInstalled = true; }

void OverlayWindow::AttachToWindow(QWidget *window, bool liveResize) {
  if (d->attached)
    d->attached->removeEventFilter(this);
  d->attached = window;
  d->liveResize = liveResize;
  if (!window)
    return;
  const QRect g(window->mapToGlobal(QPoint(0, 0)), window->size());
  d->attachOffset = QPoint(d->left, d->top) - g.topLeft();
  d->attachSizeDelta = QSize(d->width, d->height) - g.size();
  window->installEventFilter(this);
}

bool OverlayWindow::eventFilter(QObject *watched, QEvent *event) {
  if (watched == d->attached &&
      (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    const QRect g(d->attached->mapToGlobal(QPoint(0, 0)), d->attached->size());
    const QPoint at = g.topLeft() + d->attachOffset;
    if (d->liveResize) {
      const QSize size = g.size() + d->attachSizeDelta;
      Width(size.width());
      Height(size.height());
    }
    if (at != QPoint(d->left, d->top)) {
      d->left = at.x();
      d->top = at.y();
      placeNative(true);
      platform::native().sync();
    }
  }
  return QObject::eventFilter(watched, event);
}

void OverlayWindow::Show() {
  if (!d->created || d->closed || d->shown)
    return;
  platform::NativeInterface &os = platform::native();
  // Nothing shows and nothing catches presses until a frame is drawn.
  os.setVisibleRegion(d->native.get(), QRegion(), false);
  os.setInputRegion(d->native.get(), QRegion());
  d->shapedAsDrawn = true;
  d->native->show();
  d->shown = true;
  if (d->context) {
    d->context->invalidateScreen();
    presentFrame(*d->context);
  }
}

void OverlayWindow::Close() {
  if (d->closed)
    return;
  d->closed = true;
  d->shown = false;
  d->dragging = false;
  QObject::disconnect(d->compositorWatch);
  if (d->attached)
    d->attached->removeEventFilter(this);
  d->native.reset(); // takes the native window off the screen
  d->image = QImage();
  d->drawn = QRegion();
  d->rect = QRect();
}

bool OverlayWindow::IsClosed() const { return d->closed; }

bool OverlayWindow::IgnoreClicks() const { return d->ignoreClicks; }

void OverlayWindow::IgnoreClicks(bool ignore) {
  if (d->ignoreClicks == ignore)
    return;
  d->ignoreClicks = ignore;
  if (d->shown) {
    platform::native().setInputRegion(d->native.get(), ignore ? QRegion() : d->drawn);
    platform::native().sync();
  }
}

std::int32_t OverlayWindow::Left() const { return d->left; }
std::int32_t OverlayWindow::Top() const { return d->top; }
std::int32_t OverlayWindow::Width() const { return d->width; }
std::int32_t OverlayWindow::Height() const { return d->height; }

void OverlayWindow::Left(std::int32_t v) {
  if (v == d->left)
    return;
  d->left = v;
  placeNative(true);
  if (d->shown)
    platform::native().sync();
}

void OverlayWindow::Top(std::int32_t v) {
  if (v == d->top)
    return;
  d->top = v;
  placeNative(true);
  if (d->shown)
    platform::native().sync();
}

void OverlayWindow::Width(std::int32_t v) {
  if (v == d->width)
    return;
  d->width = v;
  reclip();
}

void OverlayWindow::Height(std::int32_t v) {
  if (v == d->height)
    return;
  d->height = v;
  reclip();
}

void OverlayWindow::reclip() {
  // What shows is the last flushed frame cut to the window: cut it anew at once, and
  // leave what has been drawn since for the next flush.
  if (!d->context)
    return;
  DrawContext &c = *d->context;
  c.invalidateScreen();
  if (!d->shown)
    return;
  DrawContext::Frame drawing = std::move(c.frame_);
  c.frame_ = c.onScreen_;
  presentFrame(c);
  c.frame_ = std::move(drawing);
}

DrawContext *OverlayWindow::Context() { return d->context.get(); }

QWindow *OverlayWindow::nativeWindow() const { return d->native.get(); }
QRect OverlayWindow::shownRect() const {
  return d->shown && !d->drawn.isEmpty() ? d->rect : QRect();
}
QRegion OverlayWindow::clickRegion() const {
  if (!d->shown || d->ignoreClicks)
    return QRegion();
  const qreal ratio = d->image.devicePixelRatio();
  const QRegion drawn =
      ratio == 1.0 ? d->drawn : QTransform::fromScale(1 / ratio, 1 / ratio).map(d->drawn);
  return drawn.translated(d->rect.topLeft());
}

void OverlayWindow::placeNative(bool raise) {
  if (!d->native || d->rect.isEmpty() || d->image.isNull())
    return;
  const QPoint at = platform::toDevicePixels(d->rect.topLeft() + QPoint(d->left, d->top));
  platform::native().setGeometry(d->native.get(), QRect(at, d->image.size()), raise);
}

void OverlayWindow::presentFrame(DrawContext &c) {
  if (!d->shown || !d->native)
    return; // before Show, and after Close, nothing shows
  platform::NativeInterface &os = platform::native();
  const bool antialiased = os.translucent(d->native.get());

  if (c.onScreenValid_ && antialiased == d->antialiased) {
    if (c.frame_.empty() && c.onScreen_.empty())
      return;
    QPoint offset;
    if (DrawContext::isTranslation(c.onScreen_, c.frame_, &offset)) {
      if (offset.isNull())
        return; // the frame on the screen already
      const QRect moved = d->rect.translated(offset);
      if (!d->rectClipped && QRect(0, 0, d->width, d->height).contains(moved)) {
        // The same drawing elsewhere: move the window, its shapes go with it.
        d->rect = moved;
        placeNative(true);
        os.sync();
        c.onScreen_ = c.frame_;
        return;
      }
    }
  }

  // New content: render what is drawn, clipped to the window, with a margin for the
  // smoothed edges.
  const QRect window(0, 0, d->width, d->height);
  const QRect wanted = DrawContext::paintedBounds(c.frame_).toAlignedRect().adjusted(-1, -1, 1, 1);
  const QRect rect = wanted & window;
  d->antialiased = antialiased;
  QImage image;
  QRegion drawn;
  if (!rect.isEmpty()) {
    // At the window's device pixel ratio: sharp also when Qt scales the interface.
    const qreal ratio = d->native->devicePixelRatio();
    image = QImage((QSizeF(rect.size()) * ratio).toSize().expandedTo(QSize(1, 1)),
                   QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-rect.topLeft());
    DrawContext::paint(painter, c.frame_, antialiased);
    painter.end();
    drawn = drawnPixels(image, QPoint());
  }
  // A caller that never clears would make every flush render a longer list: keep what
  // is drawn as one picture instead.
  constexpr size_t compactAfter = 64;
  if (c.frame_.size() > compactAfter) {
    c.frame_.clear();
    if (!drawn.isEmpty()) {
      DrawContext::Op op;
      op.kind = DrawContext::Op::Image;
      op.rect = QRectF(rect);
      op.image = image;
      c.frame_.push_back(std::move(op));
    }
  }
  c.onScreen_ = c.frame_;
  c.onScreenValid_ = true;

  if (drawn.isEmpty()) {
    // An empty frame: every press passes. Compositing managers do not all repaint when
    // a shape empties, but they all repaint new pixels: the window turns transparent.
    // Without one, the shape alone hides it.
    os.setInputRegion(d->native.get(), QRegion());
    if (!antialiased) {
      os.setVisibleRegion(d->native.get(), QRegion(), false);
      d->shapedAsDrawn = true;
    }
    if (!d->image.isNull()) {
      QImage blank(d->image.size(), QImage::Format_ARGB32_Premultiplied);
      blank.setDevicePixelRatio(d->image.devicePixelRatio());
      blank.fill(Qt::transparent);
      d->image = blank;
      exposed();
    }
    d->drawn = QRegion();
    d->rectClipped = true; // nothing to move at the next frame
    os.sync();
    return;
  }

  d->rect = rect;
  d->rectClipped = rect != wanted;
  d->image = image;
  d->drawn = drawn;
  placeNative(true);
  if (antialiased) {
    if (d->shapedAsDrawn)
      os.setVisibleRegion(d->native.get(), QRegion(), true);
    d->shapedAsDrawn = false;
  } else {
    // Without compositing the window's transparent pixels would show black.
    os.setVisibleRegion(d->native.get(), drawn, false);
    d->shapedAsDrawn = true;
  }
  os.setInputRegion(d->native.get(), d->ignoreClicks ? QRegion() : drawn);
  exposed();
  os.sync();
}

void OverlayWindow::exposed() {
  if (!d->native || d->image.isNull())
    return;
  if (!d->native->hasStore() && platform::native().putImage(d->native.get(), d->image))
    return;
  QBackingStore *store = d->native->store();
  const QRect all(QPoint(0, 0), d->image.deviceIndependentSize().toSize());
  store->resize(all.size());
  store->beginPaint(all);
  {
    QPainter painter(store->paintDevice());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, d->image);
  }
  store->endPaint();
  store->flush(all);
}

void OverlayWindow::compositorChanged() {
  if (d->shown && d->context) {
    d->context->invalidateScreen();
    presentFrame(*d->context);
  }
}

void OverlayWindow::mouseEvent(QMouseEvent *e) {
  if (!d->eventsInstalled || d->closed)
    return;
  const QPointF at = e->globalPosition();
  const QPointF delta = d->havePrevious ? at - d->previous : QPointF();
  d->previous = at;
  d->havePrevious = true;
  const int mods = modifierBits(e->modifiers());
  switch (e->type()) {
  case QEvent::MouseButtonPress: {
    const int button = buttonNumber(e->button());
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const bool again =
        button == d->lastButton && d->sinceClick.isValid() && d->sinceClick.elapsed() <= interval;
    d->clicks = again ? d->clicks + 1 : 1;
    d->lastButton = button;
    d->sinceClick.start();
    d->dragging = Event_MouseDown(at.x(), at.y(), button, d->clicks, mods);
    break;
  }
  case QEvent::MouseButtonRelease:
    if (e->buttons() == Qt::NoButton)
      d->dragging = false;
    Event_MouseUp(at.x(), at.y(), buttonNumber(e->button()), d->clicks, mods);
    break;
  case QEvent::MouseMove:
    if (d->dragging && e->buttons() != Qt::NoButton) {
      Qt::MouseButton held = Qt::LeftButton;
      for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (e->buttons() & b) {
          held = b;
          break;
        }
      Event_MouseDragged(at.x(), at.y(), buttonNumber(held), delta.x(), delta.y(), mods);
    } else {
      Event_MouseMoved(at.x(), at.y(), mods, delta.x(), delta.y());
    }
    break;
  default:
    break;
  }
}

bool OverlayWindow::Event_MouseDown(double, double, std::int32_t, std::int32_t, std::int32_t) {
  return false;
}
bool OverlayWindow::Event_MouseUp(double, double, std::int32_t, std::int32_t, std::int32_t) {
  return false;
}
bool OverlayWindow::Event_MouseMoved(double, double, std::int32_t, double, double) { return false; }
bool OverlayWindow::Event_MouseDragged(double, double, std::int32_t, double, double, std::int32_t) {
  return false;
}
