// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The small window the "Check Now" command brings up: the running version and the button
// that starts the update check. It closes as soon as the check begins.
class selfTest : public QWidget {
  Q_OBJECT
public:
  selfTest();

  QLabel *StaticText1 = nullptr;
  QLabel *StaticText2 = nullptr;
  QPushButton *PushButton1 = nullptr;

protected:
  void keyPressEvent(QKeyEvent *event) override;

private:
  void StaticText2_Open();
  // Runs the check: shows the update window modally and returns once it has closed.
  void PushButton1_Action();
};
