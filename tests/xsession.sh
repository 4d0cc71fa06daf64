#!/usr/bin/env bash
# Runs one command inside a private X session: Xvfb on a display number it picks itself,
# xcompmgr as compositing manager and openbox as window manager. Everything it started
# is stopped when the command ends, fails or is killed.
#
#   xsession.sh [--screen WxHxD] [--no-compositor] [--no-wm] -- command [args...]
#
# The command sees DISPLAY and, when a compositing manager runs,
# VIDURARA_TEST_COMPMGR_PID (so that a test can stop it and start its own).
set -u
screen=1280x800x24
compositor=1
wm=1
while [ $# -gt 0 ]; do
  case "$1" in
    --screen) screen=$2; shift 2 ;;
    --no-compositor) compositor=0; shift ;;
    --no-wm) wm=0; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done

tmp=$(mktemp -d)
pids=()
cleanup() {
  [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 200); do
  [ -s "$tmp/display" ] && break
  sleep 0.05
done
if [ ! -s "$tmp/display" ]; then
  echo "xsession: Xvfb did not start" >&2
  cat "$tmp/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$tmp/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

if [ "$wm" = 1 ]; then
  openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
  pids+=($!)
  # The window manager is ready once it has announced itself on the root window.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
fi
if [ "$compositor" = 1 ]; then
  xcompmgr >"$tmp/xcompmgr.log" 2>&1 &
  pids+=($!)
  export VIDURARA_TEST_COMPMGR_PID=$!
  sleep 0.3
fi

"$@" &
child=$!
pids+=($child)
wait "$child"
exit $?
