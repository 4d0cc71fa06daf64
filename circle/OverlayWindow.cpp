// Vidurara: a ring around the mouse pointer for presentations.
// Placeholder until the overlay window is built.
#include "OverlayWindow.h"

#include "DrawContext.h"

struct OverlayWindow::Private {
  std::unique_ptr<DrawContext> context;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool ignoreClicks = false;
  bool closed = false;
};

OverlayWindow::OverlayWindow() : d(new Private) {}
OverlayWindow::~OverlayWindow() = default;
std::int32_t OverlayWindow::Create(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) {
  d->left = l, d->top = t, d->width = w, d->height = h;
  d->context = std::make_unique<DrawContext>(this);
  return 0;
}
void OverlayWindow::InstallEventHandler() {}
void OverlayWindow::AttachToWindow(QWidget *, bool) {}
void OverlayWindow::Show() {}
void OverlayWindow::Close() { d->closed = true; }
bool OverlayWindow::IsClosed() const { return d->closed; }
bool OverlayWindow::IgnoreClicks() const { return d->ignoreClicks; }
void OverlayWindow::IgnoreClicks(bool ignore) { d->ignoreClicks = ignore; }
std::int32_t OverlayWindow::Left() const { return d->left; }
std::int32_t OverlayWindow::Top() const { return d->top; }
std::int32_t OverlayWindow::Width() const { return d->width; }
std::int32_t OverlayWindow::Height() const { return d->height; }
void OverlayWindow::Left(std::int32_t v) { d->left = v; }
void OverlayWindow::Top(std::int32_t v) { d->top = v; }
void OverlayWindow::Width(std::int32_t v) { d->width = v; }
void OverlayWindow::Height(std::int32_t v) { d->height = v; }
DrawContext *OverlayWindow::Context() { return d->context.get(); }
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
