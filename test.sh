#!/usr/bin/env bash
# Builds Huevik and runs every test (unit, forms, end-to-end) under Wine on a
# virtual display of its own, so a desktop session is never disturbed.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/build.sh"
# shellcheck source=tools/wine-session.sh
. "$here/tools/wine-session.sh"
wine_test_session_start "$here"
ctest --test-dir "$here/build/$(huevik_preset)" --output-on-failure --timeout 1200 "$@"
