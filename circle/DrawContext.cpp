// Vidurara: a ring around the mouse pointer for presentations.
// Placeholder until the drawing context is built.
#include "DrawContext.h"

struct DrawContext::State {};

ContextRect MakeContextRect(double x, double y, double w, double h) { return {x, y, w, h}; }
ContextPoint MakeContextPoint(double x, double y) { return {x, y}; }
ContextImage CreateContextImage(const QImage &picture, const QImage &) { return {picture}; }

DrawContext::DrawContext(OverlayWindow *) : d(new State) {}
DrawContext::~DrawContext() { delete d; }
void DrawContext::ClearRect(const ContextRect &) {}
void DrawContext::SetRGBFillColor(double, double, double, double) {}
void DrawContext::SetRGBStrokeColor(double, double, double, double) {}
void DrawContext::SetLineWidth(double) {}
void DrawContext::BeginPath() {}
void DrawContext::MoveToPoint(double, double) {}
void DrawContext::AddLineToPoint(double, double) {}
void DrawContext::AddQuadCurveToPoint(double, double, double, double) {}
void DrawContext::AddArc(double, double, double, double, double, bool) {}
void DrawContext::ClosePath() {}
void DrawContext::StrokePath() {}
void DrawContext::FillPath() {}
void DrawContext::SaveGState() {}
void DrawContext::RestoreGState() {}
void DrawContext::TranslateCTM(double, double) {}
void DrawContext::ScaleCTM(double, double) {}
void DrawContext::FillRect(const ContextRect &) {}
void DrawContext::StrokeRect(const ContextRect &) {}
void DrawContext::SelectFont(const QString &, double, int) {}
void DrawContext::ShowTextAtPoint(const QString &, double, double) {}
void DrawContext::DrawPicture(const ContextImage &, const ContextRect &) {}
void DrawContext::Flush() {}
QImage DrawContext::render(int, int) const { return {}; }
