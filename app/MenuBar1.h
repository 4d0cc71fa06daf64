// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QMenuBar>

// The application's menu bar. Placeholder until the menus are built.
class MenuBar1 : public QMenuBar {
  Q_OBJECT
public:
  MenuBar1();
};
