#!/usr/bin/env bash
# The surface drag where Wine's X11 driver manages the windows, as on a desktop (./run.sh): a
# prefix of its own with managed windows, a virtual display of its own with a window manager,
# and a drag given through the X server with xdotool while form_tests.exe holds the main window.
# Runs inside test.sh's session; every wait is bounded, and what it starts it stops.
set -euo pipefail
build="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
# shellcheck source=tools/wine-target.sh
. "$here/tools/wine-target.sh"
[ "$(huevik_preset)" = win64 ] && huevik_use_wine64 "$here"
export WINEPREFIX="$build/wineprefix-managed" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset HUEVIK_UNMANAGED_WINDOWS
request="$build/managed-drag-request.txt" done_mark="$build/managed-drag-done.txt"
rm -f "$request" "$done_mark"

pids=()
stop() {
  wineserver -k 2>/dev/null || true
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -f "$request" "$done_mark"
}
trap stop EXIT

n=120
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$n"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_WM_MOVERESIZE && break; sleep 0.1; done
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing a managed Wine prefix in $WINEPREFIX (once)..."
  timeout 180 wineboot -i >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
fi
timeout 60 wine wineboot </dev/null >/dev/null 2>&1 || true

cd "$build"
HUEVIK_MANAGED_DRAG=1 timeout 90 wine ./form_tests.exe --gtest_color=no --gtest_filter='ManagedMoveLoopTest.*' &
test_pid=$!
for _ in $(seq 600); do [ -s "$request" ] && break; sleep 0.1; done
if [ -s "$request" ]; then
  read -r x y < <(tr -d "\r" <"$request")
  xdotool mousemove "$x" "$y"
  sleep 0.3
  xdotool mousedown 1
  for step in 1 2 3 4 5 6 8 10 15 20 30 40 60 80; do
    xdotool mousemove "$((x + step))" "$((y + step / 2))"
    sleep 0.05
  done
  sleep 0.3
  xdotool mouseup 1
  sleep 0.3
  touch "$done_mark"
fi
wait "$test_pid"
