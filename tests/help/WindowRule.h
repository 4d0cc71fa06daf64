// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "SingleInstance.h"
#include "TestSupport.h"

#include <QApplication>
#include <QPoint>
#include <QRect>
#include <QRegularExpression>
#include <QWidget>

namespace helptest {

// What the menu commands "Show Help" and "About..." do with their window: the one
// instance, its content area at left 20, top 70, shown and brought to the front.
template <typename W> W *openLikeTheMenu() {
  W *window = SingleInstance<W>::get();
  window->setGeometry(QRect(QPoint(20, 70), window->size()));
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

// The content area's top-left corner as the X server has it (not as Qt believes it).
inline QPoint contentOriginOnScreen(const QWidget *window) {
  QString out;
  if (!testsupport::run(QStringLiteral("xwininfo"),
                        {QStringLiteral("-id"), QString::number(window->winId())}, &out))
    return QPoint(-1, -1);
  const auto x =
      QRegularExpression(QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)")).match(out);
  const auto y =
      QRegularExpression(QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)")).match(out);
  if (!x.hasMatch() || !y.hasMatch())
    return QPoint(-1, -1);
  return QPoint(x.captured(1).toInt(), y.captured(1).toInt());
}

// Closes a window through the window manager, as its close box does.
inline bool closeLikeTheCloseBox(const QWidget *window) {
  return testsupport::run(QStringLiteral("wmctrl"),
                          {QStringLiteral("-i"), QStringLiteral("-c"),
                           QStringLiteral("0x%1").arg(window->winId(), 0, 16)});
}

// Top-level windows of class W that are on screen.
template <typename W> int visibleWindowsOf() {
  int count = 0;
  for (QWidget *widget : QApplication::topLevelWidgets())
    if (qobject_cast<W *>(widget) && widget->isVisible())
      ++count;
  return count;
}

} // namespace helptest
