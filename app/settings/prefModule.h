// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One parsed line of the preferences file.
struct directiveClass {
  std::string name; // between "#" and the first blank, folded to lower case
  std::string text; // everything after the first blank, unchanged
};

// The persisted settings. Plain process-wide values: everybody reads and writes them
// directly and nobody keeps a copy, so a change shows at the next tick.
namespace prefModule {
inline std::int32_t CircleSize = 0;
inline std::int32_t CircleLineWidth = 0;
inline bool AutoShutOff = false;
inline std::int32_t Window1Top = 0;
inline std::int32_t Window1Left = 0;
// Index 0 is an empty slot that is never read; records of the file start at 1.
inline std::vector<directiveClass> gDirectives(1);
} // namespace prefModule
