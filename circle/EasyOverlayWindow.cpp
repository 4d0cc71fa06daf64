// Vidurara: a ring around the mouse pointer for presentations.
#include "EasyOverlayWindow.h"

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>

using I = std::int32_t;

namespace {

// Toward zero, as every conversion from floating point here; out-of-range values are
// held at the ends instead of overflowing.
I trunc32(double v) {
  if (std::isnan(v))
    return 0;
  return I(std::clamp(std::trunc(v), double(std::numeric_limits<I>::min()),
                      double(std::numeric_limits<I>::max())));
}

QFont fontOf(const QString &name, I size) {
  QFont font(name);
  if (size > 0)
    font.setPixelSize(size);
  return font;
}

} // namespace

EasyOverlayWindow::EasyOverlayWindow() = default;
EasyOverlayWindow::~EasyOverlayWindow() = default;

void EasyOverlayWindow::Init(I left, I top, I width, I height, QWidget *parent) {
  if (Create(left, top, width, height) != 0 && qGuiApp)
    QApplication::beep();
  InstallEventHandler();
  if (parent)
    AttachToWindow(parent, true);
  Show();
  myRect = MakeContextRect(0, 0, Width(), Height());
  myContext = Context();
  if (myContext)
    myContext->ClearRect(*myRect);
  ForeColor(RGBColor(0, 0, 0));
  Transparency(255);
  LineWidth(1);
  TextFont(QStringLiteral("Helvetica"));
  TextSize(12);
  Width(width);
  Height(height);
}

void EasyOverlayWindow::Refresh() {
  if (!myContext || !myRect)
    return;
  Paint(this);
  myContext->Flush();
}

void EasyOverlayWindow::Update() {
  myRect = MakeContextRect(0, 0, Width(), Height());
  myContext = Context();
  if (myContext)
    myContext->ClearRect(*myRect);
  Refresh();
}

void EasyOverlayWindow::Clear() {
  if (myContext && myRect)
    myContext->ClearRect(*myRect);
}

void EasyOverlayWindow::DrawWindow() {
  if (myContext)
    myContext->Flush();
}

ColorValue EasyOverlayWindow::ForeColor() const { return myForeColor; }

// Fill and stroke colour are always equal.
void EasyOverlayWindow::setContextColor(ColorValue c, double alpha) {
  if (!myContext)
    return;
  const double r = RedOf(c) / 255.0, g = GreenOf(c) / 255.0, b = BlueOf(c) / 255.0;
  myContext->SetRGBFillColor(r, g, b, alpha / 255.0);
  myContext->SetRGBStrokeColor(r, g, b, alpha / 255.0);
}

void EasyOverlayWindow::ForeColor(ColorValue c) {
  setContextColor(c, Transparency());
  myForeColor = c;
}

I EasyOverlayWindow::LineWidth() const { return myLineWidth; }

void EasyOverlayWindow::LineWidth(I n) {
  if (myContext)
    myContext->SetLineWidth(n);
  myLineWidth = n;
}

double EasyOverlayWindow::Transparency() const { return Module1::MyTransparency; }

void EasyOverlayWindow::Transparency(I t) {
  setContextColor(ForeColor(), t);
  Module1::MyTransparency = t;
}

QString EasyOverlayWindow::TextFont() const { return myTextFont; }
void EasyOverlayWindow::TextFont(const QString &name) { myTextFont = name; }
I EasyOverlayWindow::TextSize() const { return myTextSize; }
void EasyOverlayWindow::TextSize(I size) { myTextSize = size; }

void EasyOverlayWindow::DrawOval(I x, I y, I w, I h) {
  if (!myContext)
    return;
  const double H = Height();
  const I k = trunc32(myLineWidth / 2.0);
  const double cx = (double(x) + k) + w / 2.0;
  const double cy = (H - y - k) - h / 2.0;
  myContext->BeginPath();
  AddOval(myContext, MakeContextPoint(cx, cy), float(w / 2.0), float(h / 2.0));
  myContext->StrokePath();
}

void EasyOverlayWindow::FillOval(I x, I y, I w, I h) {
  if (!myContext)
    return;
  const double H = Height();
  const double cx = double(x) + w / 2.0;
  const double cy = (H - y) - h / 2.0;
  myContext->BeginPath();
  AddOval(myContext, MakeContextPoint(cx, cy), float(w / 2.0), float(h / 2.0));
  myContext->FillPath();
}

void EasyOverlayWindow::AddOval(DrawContext *context, ContextPoint centre, float rx, float ry) {
  const float pi = float(2.0 * std::acos(0.0));
  const double endAngle = 2.0 * double(pi); // 6.2831854820251465, a hair past a full turn
  context->SaveGState();
  context->TranslateCTM(centre.X, centre.Y);
  context->ScaleCTM(rx, ry);
  context->MoveToPoint(1, 0);
  context->AddArc(0, 0, 1, 0, endAngle, false);
  context->ClosePath();
  context->RestoreGState();
}

void EasyOverlayWindow::FillRect(I x, I y, I w, I h) {
  if (!myContext)
    return;
  const double H = Height();
  myContext->FillRect(MakeContextRect(x, H - h - y, w, h));
}

void EasyOverlayWindow::DrawRect(I x, I y, I w, I h) {
  if (!myContext)
    return;
  const double H = Height();
  const I L = myLineWidth;
  const I k = I(std::ceil(L / 2.0));
  myContext->StrokeRect(
      MakeContextRect(double(x) + k, H - h - y + k, double(w) - L, double(h) - L));
}

void EasyOverlayWindow::DrawLine(I x1, I y1, I x2, I y2) {
  if (!myContext)
    return;
  const double H = Height();
  myContext->BeginPath();
  myContext->MoveToPoint(x1, H - y1);
  myContext->AddLineToPoint(x2, H - y2);
  myContext->StrokePath();
}

void EasyOverlayWindow::doDrawRoundRect(I x, I y, I w, I h, I rw, I rh, bool fill) {
  if (!myContext)
    return;
  const double H = Height();
  const double X = x, W = w, RW = rw, RH = rh;
  const double yb = H - h - y, yt = H - y;
  DrawContext &c = *myContext;
  c.BeginPath();
  c.MoveToPoint(X + RW, yb);
  c.AddLineToPoint(X + W - RW, yb);
  c.AddQuadCurveToPoint(X + W, yb, X + W, yb + RH);
  c.AddLineToPoint(X + W, yt - RH);
  c.AddQuadCurveToPoint(X + W, yt, X + W - RW, yt);
  c.AddLineToPoint(X + RW, yt);
  c.AddQuadCurveToPoint(X, yt, X, yt - RH);
  c.AddLineToPoint(X, yb + RH);
  c.AddQuadCurveToPoint(X, yb, X + RW, yb);
  if (fill)
    c.FillPath();
  else
    c.StrokePath();
}

void EasyOverlayWindow::DrawRoundRect(I x, I y, I w, I h, I rw, I rh) {
  const I L = myLineWidth;
  doDrawRoundRect(trunc32(x + L / 2.0), trunc32(y + L / 2.0), w - L, h - L, rw, rh, false);
}

void EasyOverlayWindow::FillRoundRect(I x, I y, I w, I h, I rw, I rh) {
  doDrawRoundRect(x, y, w, h, rw, rh, true);
}

void EasyOverlayWindow::DrawBevelFrame(I x, I y, I w, I h, ColorValue c1, ColorValue c2) {
  if (!myContext)
    return;
  const ColorValue color = ForeColor();
  const I L = LineWidth();
  LineWidth(1);
  for (I i = 1; i <= L; ++i) {
    ForeColor(c2);
    DrawLine(x + w - i, y + i, x + w - i, y + h);     // right
    DrawLine(x + i, y + h - i, x + w - i, y + h - i); // bottom
    ForeColor(c1);
    DrawLine(x, y + i, x + w - i, y + i); // top
    DrawLine(x + i, y, x + i, y + h - i); // left
  }
  ForeColor(color);
  LineWidth(L);
}

void EasyOverlayWindow::DrawString(const QString &text, I x, I y) {
  if (!myContext)
    return;
  const double H = Height();
  myContext->SelectFont(myTextFont, myTextSize, 1);
  // y is the top of the line; the baseline lies one text size below it.
  myContext->ShowTextAtPoint(text, x, H - y - myTextSize);
}

void EasyOverlayWindow::DrawStringWithShadow(const QString &text, I x, I y, I offset,
                                             I shadowTransparency, ColorValue color) {
  if (!myContext)
    return;
  const ColorValue foreColor = ForeColor();
  const I transparency = trunc32(Transparency());
  // The shadow takes the caller's colour.
  ForeColor(color);
  Transparency(shadowTransparency);
  DrawString(text, x + offset, y + offset);
  ForeColor(foreColor);
  Transparency(transparency);
  DrawString(text, x, y);
}

I EasyOverlayWindow::StringWidth(const QString &text) const {
  if (myTextSize <= 0 || text.isEmpty())
    return 0;
  return trunc32(QFontMetricsF(fontOf(myTextFont, myTextSize)).horizontalAdvance(text));
}

void EasyOverlayWindow::DrawPicture(const QImage &picture, I x, I y) {
  if (!myContext || picture.isNull())
    return;
  // The picture's mask: from its alpha channel, white where transparent; a picture
  // without one is opaque.
  QImage mask;
  if (picture.hasAlphaChannel()) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    mask = QImage(argb.size(), QImage::Format_Grayscale8);
    for (int row = 0; row < argb.height(); ++row) {
      const auto *src = reinterpret_cast<const QRgb *>(argb.constScanLine(row));
      uchar *dst = mask.scanLine(row);
      for (int col = 0; col < argb.width(); ++col)
        dst[col] = uchar(255 - qAlpha(src[col]));
    }
  }
  const double H = Height();
  myContext->DrawPicture(
      CreateContextImage(picture, mask),
      MakeContextRect(x, H - picture.height() - y, picture.width(), picture.height()));
}

void EasyOverlayWindow::Paint(EasyOverlayWindow *) {}
bool EasyOverlayWindow::MouseDown(I, I, I, I, I) { return false; }
void EasyOverlayWindow::MouseDrag(I, I, I, I) {}
void EasyOverlayWindow::MouseUp(I, I, I, I, I) {}
void EasyOverlayWindow::MouseMove(I, I, I) {}
void EasyOverlayWindow::WindowDragAction(I, I) {}

bool EasyOverlayWindow::Event_MouseDown(double x, double y, I i1, I i2, I i3) {
  Module1::MouseClicked = MouseDown(trunc32(x - Left()), trunc32(y - Top()), i1, i2, i3);
  return Moveable;
}

bool EasyOverlayWindow::Event_MouseUp(double x, double y, I i1, I i2, I i3) {
  if (Module1::MouseClicked)
    MouseUp(trunc32(x - Left()), trunc32(y - Top()), i1, i2, i3);
  return false;
}

bool EasyOverlayWindow::Event_MouseMoved(double x, double y, I i1, double, double) {
  MouseMove(trunc32(x - Left()), trunc32(y - Top()), i1);
  return false;
}

bool EasyOverlayWindow::Event_MouseDragged(double x, double y, I i1, double dx, double dy, I i2) {
  if (Moveable) {
    Top(trunc32(Top() + dy));
    Left(trunc32(Left() + dx));
    if (dx != 0 || dy != 0)
      WindowDragAction(Left(), Top());
  }
  if (Module1::MouseClicked)
    MouseDrag(trunc32(x - Left()), trunc32(y - Top()), i1, i2);
  return false;
}
