// Vidurara: a ring around the mouse pointer for presentations.
#include "App.h"

#include "AboutBox.h"
#include "AppVersion.h"
#include "Help.h"
#include "HelpPrinting.h"
#include "MagnifyOverlay.h"
#include "MenuBar1.h"
#include "Module1.h"
#include "PrefWindow.h"
#include "PrefsFile.h"
#include "SingleInstance.h"
#include "Window1.h"
#include "prefModule.h"
#include "selfTest.h"

namespace {

// The window rule of the four menu commands: one instance, its content area at
// left 20, top 70, shown and brought to the front.
template <typename W> bool openWindow() {
  W *window = SingleInstance<W>::get();
  // A window that was never shown has no size of its own yet: give it the one show()
  // would, since placing it marks it as sized.
  if (!window->testAttribute(Qt::WA_Resized))
    window->adjustSize();
  window->setGeometry(QRect(QPoint(20, 70), window->size()));
  // A minimised window cannot come to the front.
  if (window->isMinimized())
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
  return false;
}

// Item names and their handlers, in the order in which they are bound.
struct MenuBinding {
  const char *item;
  bool (App::*handler)();
};
constexpr MenuBinding menuBindings[] = {
    {"About", &App::_About_Action},
    {"CheckforUpdateCheckNow", &App::_CheckforUpdateCheckNow_Action},
    {"HelpShow", &App::_HelpShow_Action},
    {"ViduraraHelpPreferences", &App::_ViduraraHelpPreferences_Action},
    {"FilePrintHelp", &App::_FilePrintHelp_Action},
};

} // namespace

App::App(int &argc, char **argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("Vidurara"));
  setApplicationVersion(QString::fromLatin1(AppVersion::ShortVersion));
  setQuitOnLastWindowClosed(false);
  Constructor();
}

App::~App() = default;

void App::InstallMenuBar() {
  menuBar_ = SingleInstance<MenuBar1>::get();
  for (const MenuBinding &b : menuBindings) {
    const bool bound = menuBar_->bind(QString::fromLatin1(b.item),
                                      [this, h = b.handler]() { return (this->*h)(); });
    Q_ASSERT(bound);
    Q_UNUSED(bound);
  }
}

void App::Event_Open() {
  prefModule::loadPrefs();
  prefModule::setWindowPositionSource([]() -> std::optional<prefModule::WindowPosition> {
    if (const Window1 *panel = SingleInstance<Window1>::find())
      return prefModule::WindowPosition{panel->Top(), panel->Left()};
    return std::nullopt;
  });
  Window1 *panel = SingleInstance<Window1>::get();
#ifndef Q_OS_MACOS
  // Where menu bars belong to windows, the Control Panel carries it.
  if (menuBar_)
    panel->setMenuBar(menuBar_);
#endif
  panel->show();
  panel->raise();
}

void App::Finalise() {
  delete menuBar_.data();
  Module1::Overlay.reset();
  prefModule::gDirectives.clear();
  prefModule::gDirectives.shrink_to_fit();
}

bool App::_About_Action() { return openWindow<AboutBox>(); }
bool App::_CheckforUpdateCheckNow_Action() { return openWindow<selfTest>(); }
bool App::_HelpShow_Action() { return openWindow<Help>(); }
bool App::_ViduraraHelpPreferences_Action() { return openWindow<PrefWindow>(); }
bool App::_FilePrintHelp_Action() { return FilePrintHelp(); }
