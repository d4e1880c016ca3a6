#!/usr/bin/env bash
# Runs scale_tests.exe at 96, 120, 144 and 192 dpi. Each resolution gets a copy of the
# test session's prefix with HKCU\Control Panel\Desktop LogPixels set, and its own
# wineserver, stopped and removed afterwards. Runs inside test.sh's Wine session;
# 96 dpi goes first, since the others compare their picture with its one.
set -euo pipefail
build="$1"
[ -n "${WINEPREFIX:-}" ] && [ -f "$WINEPREFIX/system.reg" ] || { echo "no Wine session prefix"; exit 1; }
work=$(mktemp -d "$build/scales.XXXXXX")
shots="${HUEVIK_SCALE_SHOT_DIR:-$work/shots}"
mkdir -p "$shots"
current=""
cleanup() {
  if [ -n "$current" ]; then WINEPREFIX="$current" wineserver -k 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
failed=0
for dpi in 96 120 144 192; do
  current="$work/prefix-$dpi"
  # Program files are only read: link them; the registry and the rest are copied.
  mkdir -p "$current"
  cp -a --link "$WINEPREFIX/drive_c" "$current/"
  find "$WINEPREFIX" -mindepth 1 -maxdepth 1 ! -name drive_c -exec cp -a {} "$current/" \;
  WINEPREFIX="$current" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
    >/dev/null 2>&1
  # The resolution is read when the prefix's programs start: start them again.
  WINEPREFIX="$current" wineserver -k 2>/dev/null || true
  WINEPREFIX="$current" wineserver -w 2>/dev/null || true
  echo "== $dpi dpi"
  if ! WINEPREFIX="$current" HUEVIK_SCALE_DPI="$dpi" HUEVIK_SCALE_SHOTS="Z:${shots//\//\\}" \
    timeout 240 wine "$build/scale_tests.exe" --gtest_color=no </dev/null; then
    failed=1
  fi
  WINEPREFIX="$current" wineserver -k 2>/dev/null || true
  WINEPREFIX="$current" wineserver -w 2>/dev/null || true
  rm -rf "$current"
  current=""
done
exit "$failed"
