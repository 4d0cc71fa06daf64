// Vidurara: a ring around the mouse pointer for presentations.
#include "NativeInterface.h"

#include "qt/QtNativeInterface.h"
#ifdef VIDURARA_HAVE_X11
#include "x11/X11NativeInterface.h"
#endif

#include <QGuiApplication>
#include <QScreen>
#include <QtGlobal>

#include <cstdio>
#include <memory>

namespace platform {

NativeInterface &native() {
  static std::unique_ptr<NativeInterface> instance = [] {
    std::unique_ptr<NativeInterface> made;
#ifdef VIDURARA_HAVE_X11
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
      made = X11NativeInterface::create();
#endif
    if (!made) {
      std::fprintf(stderr,
                   "vidurara: no X11 session (Qt platform \"%s\"): the keyboard chords and "
                   "the click flash work only while Vidurara has the focus\n",
                   qPrintable(QGuiApplication::platformName()));
      made = std::make_unique<QtNativeInterface>();
    }
    return made;
  }();
  return *instance;
}

QPoint toDevicePixels(QPoint logical) {
  QScreen *screen = QGuiApplication::screenAt(logical);
  if (!screen)
    screen = QGuiApplication::primaryScreen();
  if (!screen || screen->devicePixelRatio() == 1.0)
    return logical;
  const QPoint origin = screen->geometry().topLeft();
  return origin + (QPointF(logical - origin) * screen->devicePixelRatio()).toPoint();
}

QPoint fromDevicePixels(QPoint device) {
  const auto screens = QGuiApplication::screens();
  QScreen *found = QGuiApplication::primaryScreen();
  for (QScreen *screen : screens) {
    const QRect g = screen->geometry();
    if (QRect(g.topLeft(), g.size() * screen->devicePixelRatio()).contains(device)) {
      found = screen;
      break;
    }
  }
  if (!found || found->devicePixelRatio() == 1.0)
    return device;
  const QPoint origin = found->geometry().topLeft();
  return origin + (QPointF(device - origin) / found->devicePixelRatio()).toPoint();
}

void prepareApplication() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  // Global key and button state and click-through shapes need X11; under Wayland
  // that is XWayland.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && qEnvironmentVariableIsSet("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "xcb");
#endif
}

} // namespace platform
