// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QMainWindow>

#include <cstdint>

// The Control Panel: the program's one permanent window. Closing it saves the
// preferences and ends the program.
class Window1 : public QMainWindow {
  Q_OBJECT
public:
  Window1();
  ~Window1() override;

  // The content area's position in screen pixels.
  std::int32_t Top() const;
  std::int32_t Left() const;
  void Top(std::int32_t top);
  void Left(std::int32_t left);

  void Event_Open();
  void Event_Close();

protected:
  void closeEvent(QCloseEvent *event) override;
};
