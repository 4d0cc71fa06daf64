// Vidurara: a ring around the mouse pointer for presentations.
// Placeholder until the drawing surface is built.
#include "EasyOverlayWindow.h"

using I = std::int32_t;

EasyOverlayWindow::EasyOverlayWindow() = default;
EasyOverlayWindow::~EasyOverlayWindow() = default;
void EasyOverlayWindow::Init(I l, I t, I w, I h, QWidget *) {
  Create(l, t, w, h);
  myContext = Context();
  myRect = MakeContextRect(0, 0, w, h);
}
void EasyOverlayWindow::Refresh() {}
void EasyOverlayWindow::Update() {}
void EasyOverlayWindow::Clear() {}
void EasyOverlayWindow::DrawWindow() {}
ColorValue EasyOverlayWindow::ForeColor() const { return myForeColor; }
void EasyOverlayWindow::ForeColor(ColorValue c) { myForeColor = c; }
I EasyOverlayWindow::LineWidth() const { return myLineWidth; }
void EasyOverlayWindow::LineWidth(I n) { myLineWidth = n; }
double EasyOverlayWindow::Transparency() const { return Module1::MyTransparency; }
void EasyOverlayWindow::Transparency(I t) { Module1::MyTransparency = t; }
QString EasyOverlayWindow::TextFont() const { return myTextFont; }
void EasyOverlayWindow::TextFont(const QString &n) { myTextFont = n; }
I EasyOverlayWindow::TextSize() const { return myTextSize; }
void EasyOverlayWindow::TextSize(I s) { myTextSize = s; }
void EasyOverlayWindow::DrawOval(I, I, I, I) {}
void EasyOverlayWindow::FillOval(I, I, I, I) {}
void EasyOverlayWindow::FillRect(I, I, I, I) {}
void EasyOverlayWindow::DrawRect(I, I, I, I) {}
void EasyOverlayWindow::DrawLine(I, I, I, I) {}
void EasyOverlayWindow::DrawRoundRect(I, I, I, I, I, I) {}
void EasyOverlayWindow::FillRoundRect(I, I, I, I, I, I) {}
void EasyOverlayWindow::doDrawRoundRect(I, I, I, I, I, I, bool) {}
void EasyOverlayWindow::DrawBevelFrame(I, I, I, I, ColorValue, ColorValue) {}
void EasyOverlayWindow::DrawString(const QString &, I, I) {}
void EasyOverlayWindow::DrawStringWithShadow(const QString &, I, I, I, I, ColorValue) {}
I EasyOverlayWindow::StringWidth(const QString &) const { return 0; }
void EasyOverlayWindow::DrawPicture(const QImage &, I, I) {}
void EasyOverlayWindow::Paint(EasyOverlayWindow *) {}
bool EasyOverlayWindow::MouseDown(I, I, I, I, I) { return false; }
void EasyOverlayWindow::MouseDrag(I, I, I, I) {}
void EasyOverlayWindow::MouseUp(I, I, I, I, I) {}
void EasyOverlayWindow::MouseMove(I, I, I) {}
void EasyOverlayWindow::WindowDragAction(I, I) {}
bool EasyOverlayWindow::Event_MouseDown(double, double, I, I, I) { return Moveable; }
bool EasyOverlayWindow::Event_MouseUp(double, double, I, I, I) { return false; }
bool EasyOverlayWindow::Event_MouseMoved(double, double, I, double, double) { return false; }
bool EasyOverlayWindow::Event_MouseDragged(double, double, I, double, double, I) { return false; }
void EasyOverlayWindow::AddOval(DrawContext *, ContextPoint, float, float) {}
