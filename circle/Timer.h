// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QObject>
#include <QTimer>

// A timer with a mode: 0 off, 1 one-shot (fires once, one period after the mode was
// set, then turns itself off), 2 repeating (fires every period). Setting a mode other
// than 0 starts the period afresh. Runs on the thread that made it.
class Timer : public QObject {
  Q_OBJECT
public:
  enum { ModeOff = 0, ModeSingle = 1, ModeMultiple = 2 };

  explicit Timer(QObject *parent = nullptr);

  int Mode() const { return mode_; }
  void Mode(int mode);
  int Period() const { return timer_.interval(); }
  // Milliseconds; a running timer keeps its current period until it next fires.
  void Period(int milliseconds);

signals:
  void Action(Timer *timer);

private:
  void fire();

  QTimer timer_;
  int mode_ = ModeOff;
};
