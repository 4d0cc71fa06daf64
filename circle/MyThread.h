// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QObject>
#include <QTimer>

// The overlay thread. Its run handler makes windows, so it runs on the GUI thread,
// between two events of the main loop: Run queues one run, Kill withdraws a run that
// has not begun. That keeps what the handlers rely on: the run handler runs once per
// start, never at the same instant as another handler, and a start never meets a run
// still under way.
class MyThread : public QObject {
  Q_OBJECT
public:
  explicit MyThread(QObject *parent = nullptr);

  // Kept for the thread's settings; the run handler is not pre-empted anyway.
  int Priority = 5;

  // Starts the thread: its run handler executes once, as soon as the main loop is free.
  // Starting it again before that still runs it once.
  void Run();
  // A started thread that has not begun never runs; a finished one is left alone.
  void Kill();
  // Started and not yet finished.
  bool IsRunning() const { return pending_.isActive() || running_; }

signals:
  void Event_Run(MyThread *thread);

private:
  QTimer pending_;
  bool running_ = false;
};
