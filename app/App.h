// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "CircleCommands.h"

#include <QApplication>
#include <QPointer>

#include "MenuBar1.h"

// The application object. NewOverlay and DrawCircle come from CircleCommands.
class App : public QApplication, public CircleCommands {
  Q_OBJECT
public:
  App(int &argc, char **argv);
  ~App() override;

  // Start-up after the object exists: builds and installs the menu bar and binds its
  // items to the handlers below by item name.
  void InstallMenuBar();
  // The Open event, delivered once the event loop runs: loads the preferences and
  // opens the Control Panel.
  void Event_Open();
  // After the event loop has ended: releases the menu bar, the overlay and the
  // parsed preferences lines, in that order.
  void Finalise();

  bool _About_Action();
  bool _CheckforUpdateCheckNow_Action();
  bool _HelpShow_Action();
  bool _ViduraraHelpPreferences_Action();
  bool _FilePrintHelp_Action();

  void Constructor() {}

  MenuBar1 *menuBar() const { return menuBar_; }

private:
  QPointer<MenuBar1> menuBar_;
};
