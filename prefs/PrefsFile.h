// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "PrefsFormat.h"
#include "prefModule.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace prefModule {

// Reads "vidurara3.txt" into the settings, or applies the defaults when it cannot be
// opened. Called once at start-up.
void loadPrefs();

// Writes the settings and the Control Panel's live position; reports nothing.
void savePrefs();

// Appends the directive lines of the file at `location` to gDirectives. False when no
// location is given or the file cannot be opened.
bool extractDirectives(const std::optional<QString> &location);

// Where savePrefs takes the Control Panel's live position from (top, left). Without a
// source, or when it answers nothing, the loaded position is written.
struct WindowPosition {
  std::int32_t top = 0;
  std::int32_t left = 0;
};
void setWindowPositionSource(std::function<std::optional<WindowPosition>()> source);

// The six persisted settings as they stand now, and setting them all at once.
PrefValues currentValues();
void setValues(const PrefValues &values);

// "vidurara3.txt" in the user's preferences folder, or nothing when there is none.
std::optional<QString> prefsLocation();

} // namespace prefModule
