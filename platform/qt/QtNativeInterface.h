// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "NativeInterface.h"

namespace platform {

// What Qt alone can answer. Keys and buttons are seen only while this program has
// the focus; shapes use Qt's window mask.
class QtNativeInterface final : public NativeInterface {
public:
  const char *name() const override { return "qt"; }
  bool hasGlobalInput() const override { return false; }
  InputState queryInput() override;
  bool compositorRunning() override { return true; }
  bool translucent(QWindow *) override { return true; }
  void setInputRegion(QWindow *window, const QRegion &region) override;
  void setVisibleRegion(QWindow *window, const QRegion &region, bool whole) override;
  void raise(QWindow *window) override;
  void setGeometry(QWindow *window, const QRect &geometry, bool raise) override;
  bool putImage(QWindow *, const QImage &) override { return false; }
  void sync() override {}
};

} // namespace platform
