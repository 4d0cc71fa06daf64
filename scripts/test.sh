#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite headless. Every GUI
# test gets its own virtual X server with a compositing and a window manager on a free
# display number (tests/xsession.sh); the user's display is never used.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
unset DISPLAY WAYLAND_DISPLAY

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

# Everything the suite starts lives in one process group, so that whatever a failing
# or hanging test leaves behind is stopped here.
group=
stop_group() { [ -n "$group" ] && kill -TERM -- "-$group" 2>/dev/null || true; }
trap stop_group EXIT
trap 'stop_group; exit 143' INT TERM

setsid ctest --test-dir build --output-on-failure --timeout 300 -j"$(nproc)" &
group=$!
set +e
wait "$group"
rc=$?
set -e
exit "$rc"
