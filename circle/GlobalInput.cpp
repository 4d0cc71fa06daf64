// Vidurara: a ring around the mouse pointer for presentations.
#include "GlobalInput.h"

#include "NativeInterface.h"

namespace {

class PlatformInput final : public GlobalInput {
public:
  void Refresh() override { state_ = platform::native().queryInput(); }
  void ForgetPresses() override { platform::native().forgetPresses(); }
  bool AsyncControlKey() override { return state_.control; }
  bool AsyncShiftKey() override { return state_.shift; }
  bool AsyncAltKey() override { return state_.alt; }
  bool MouseDown() override { return state_.mouseButton; }
  QPoint Pointer() override { return state_.pointer; }

private:
  platform::InputState state_;
};

GlobalInput *replacement = nullptr;

} // namespace

GlobalInput &globalInput() {
  static PlatformInput platformInput;
  return replacement ? *replacement : platformInput;
}

void setGlobalInput(GlobalInput *input) { replacement = input; }
