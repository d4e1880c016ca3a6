#!/usr/bin/env bash
# Builds the zip, unpacks it into an empty folder and starts Huevik.exe from there
# under Wine: its window must come up. Runs inside test.sh's Wine session.
set -euo pipefail
build="$1"
cmake --build "$build" --target package >/dev/null
zip=$(ls "$build"/package/Huevik-*-win*.zip 2>/dev/null | head -1)
[ -f "$zip" ] || { echo "no package in $build/package"; exit 1; }
listing=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
expected="HOW-TO-START.txt Huevik.exe SkinH.dll she.she "
[ "$listing" = "$expected" ] || { echo "package holds: $listing; expected: $expected"; exit 1; }
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
unzip -q "$zip" -d "$folder"
cd "$folder"
wine ./Huevik.exe </dev/null >/dev/null 2>&1 &
shown=0
for _ in $(seq 100); do
  if xdotool search --onlyvisible --name '^Huevik$' >/dev/null 2>&1; then shown=1; break; fi
  sleep 0.1
done
window=$(xdotool search --onlyvisible --name '^Huevik$' 2>/dev/null | head -1 || true)
[ -n "$window" ] && xdotool windowclose "$window" >/dev/null 2>&1 || true
wine taskkill /f /im Huevik.exe >/dev/null 2>&1 || true
if [ "$shown" = 1 ]; then
  echo "1 passed, 0 failed: the unpacked package starts and shows its window"
else
  echo "0 passed, 1 failed: the unpacked package did not show its window"
  exit 1
fi
