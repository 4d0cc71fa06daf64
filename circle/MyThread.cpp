// Vidurara: a ring around the mouse pointer for presentations.
#include "MyThread.h"

MyThread::MyThread(QObject *parent) : QObject(parent) {
  pending_.setSingleShot(true);
  pending_.setInterval(0);
  connect(&pending_, &QTimer::timeout, this, [this] {
    running_ = true;
    emit Event_Run(this);
    running_ = false;
  });
}

void MyThread::Run() { pending_.start(); }

void MyThread::Kill() { pending_.stop(); }
