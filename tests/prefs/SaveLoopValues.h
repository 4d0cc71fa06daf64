// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "PrefsFormat.h"

// The two sets of settings that prefs_save_loop saves in turn, so that a test can tell
// which whole file it finds after killing it.
namespace saveloop {

inline prefModule::PrefValues first() {
  prefModule::PrefValues v;
  v.top = -123;
  v.left = 4567;
  v.autoShutOff = true;
  v.color = RGBColor(1, 2, 3);
  v.size = 150;
  v.lineWidth = 8;
  return v;
}

inline prefModule::PrefValues second() {
  prefModule::PrefValues v;
  v.top = 2147483647;
  v.left = -2147483647 - 1;
  v.autoShutOff = false;
  v.color = RGBColor(255, 128, 0);
  v.size = 50;
  v.lineWidth = 4;
  return v;
}

} // namespace saveloop
