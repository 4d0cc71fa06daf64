// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QMainWindow>

#include <cstdint>

class MyThread;
class QPushButton;
class Timer;

// The Control Panel: the program's one permanent window and its main loop. Its
// button's caption is the one record of whether the ring is shown: "Hide" while it
// is, "Show" while it is not. Timer1 polls the global keys and mouse button every
// 25 ms and redraws the ring; Timer2 ends the red flash of a click; Thread1 makes
// each new overlay. Closing the window saves the preferences and ends the program.
class Window1 : public QMainWindow {
  Q_OBJECT
public:
  Window1();
  ~Window1() override;

  QPushButton *PushButton1() const { return pushButton1_; }
  MyThread *Thread1() const { return thread1_; }
  Timer *Timer1() const { return timer1_; }
  Timer *Timer2() const { return timer2_; }

  void PushButton1_Action(QPushButton *button);
  void Thread1_Run(MyThread *thread);
  void Timer1_Action(Timer *timer);
  void Timer2_Action(Timer *timer);
  void Event_Close();
  void Event_Open();
  void Event_Restore();

  // The content area's position in screen pixels.
  std::int32_t Top() const;
  std::int32_t Left() const;
  void Top(std::int32_t top);
  void Left(std::int32_t left);

protected:
  void closeEvent(QCloseEvent *event) override;
  void setVisible(bool visible) override;
  bool event(QEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  // The caption, compared ignoring case, is the ring's visibility.
  bool captionIs(const QString &caption) const;
  void push();
  void fitToMenuBar();

  QPushButton *pushButton1_ = nullptr;
  MyThread *thread1_ = nullptr;
  Timer *timer1_ = nullptr;
  Timer *timer2_ = nullptr;
};
