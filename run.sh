#!/usr/bin/env bash
# Builds Huevik and starts it under Wine. On a desktop it runs until you choose
# Exit from its tray icon's menu; with no display it runs on a virtual one, saves
# a screenshot to build/screenshot.png and ends.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/build.sh" Huevik SkinH
# shellcheck source=tools/wine-session.sh
. "$here/tools/wine-session.sh"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
wine_session_start "$here"
trap wine_session_stop EXIT
cd "$here/build/$(huevik_preset)"
if [ "$headless" = 0 ]; then
  wine ./Huevik.exe
  exit 0
fi
wine ./Huevik.exe &
for _ in $(seq 100); do
  xdotool search --name '^Huevik$' >/dev/null 2>&1 && break
  sleep 0.1
done
sleep 1
import -window root "$here/build/screenshot.png"
echo "Huevik ran on a virtual display; screenshot saved to build/screenshot.png"
wineserver -k 2>/dev/null || true
