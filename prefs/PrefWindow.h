// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QWidget>

// Placeholder until this window is built.
class PrefWindow : public QWidget {
  Q_OBJECT
public:
  PrefWindow();
};
