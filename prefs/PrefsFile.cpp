// Vidurara: a ring around the mouse pointer for presentations.
// Placeholder: the reader and writer are built on their own issue.
#include "PrefsFile.h"

namespace prefModule {
namespace {
std::function<std::optional<WindowPosition>()> &positionSource() {
  static std::function<std::optional<WindowPosition>()> source;
  return source;
}
} // namespace

void setWindowPositionSource(std::function<std::optional<WindowPosition>()> source) {
  positionSource() = std::move(source);
}
void loadPrefs() {}
void savePrefs() {}
bool extractDirectives(const std::optional<QString> &) { return false; }
std::optional<QString> prefsLocation() { return std::nullopt; }
} // namespace prefModule
