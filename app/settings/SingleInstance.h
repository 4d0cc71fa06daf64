// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QPointer>

// Every window exists at most once: asking for it returns the open one or creates it.
// Windows that close for good (Qt::WA_DeleteOnClose) are made anew on the next ask.
template <typename W> class SingleInstance {
public:
  // The open window, or null.
  static W *find() { return slot().data(); }
  static W *get() {
    if (!slot())
      slot() = new W;
    return slot().data();
  }

private:
  static QPointer<W> &slot() {
    static QPointer<W> instance;
    return instance;
  }
};
