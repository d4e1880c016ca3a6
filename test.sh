#!/usr/bin/env bash
# Builds Huevik and runs every test (unit, forms, end-to-end) under Wine on a
# virtual display of its own, so a desktop session is never disturbed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/build.sh"
# shellcheck source=tools/wine-session.sh
. "$here/tools/wine-session.sh"
export HUEVIK_VIRTUAL_DISPLAY=1 HUEVIK_UNMANAGED_WINDOWS=1
export WINEPREFIX="$here/build/wineprefix-tests"
wine_session_start "$here"
trap wine_session_stop EXIT
ctest --test-dir "$here/build/win32" --output-on-failure "$@"
