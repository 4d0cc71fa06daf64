// Vidurara: a ring around the mouse pointer for presentations.
#include "Timer.h"

Timer::Timer(QObject *parent) : QObject(parent) {
  // Coarse timers may fire up to 5% early; the click flash is timed against 1000 ms.
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &Timer::fire);
}

void Timer::Mode(int mode) {
  mode_ = mode;
  if (mode == ModeSingle || mode == ModeMultiple) {
    timer_.setSingleShot(mode == ModeSingle);
    timer_.start();
  } else {
    timer_.stop();
  }
}

void Timer::Period(int milliseconds) { timer_.setInterval(milliseconds); }

void Timer::fire() {
  if (mode_ == ModeSingle)
    mode_ = ModeOff;
  emit Action(this);
}
