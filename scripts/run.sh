#!/usr/bin/env bash
# Installs what is missing, builds incrementally and starts Vidurara on the user's display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vidurara
if [ -z "${DISPLAY:-}" ]; then
  echo "vidurara: no X display to show the ring on (DISPLAY is not set); run this from a desktop session." >&2
  exit 1
fi
exec build/vidurara
