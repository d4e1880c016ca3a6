#!/usr/bin/env bash
# Builds Huevik and runs every test (unit, forms, end-to-end) under Wine on a
# virtual display of its own, so a desktop session is never disturbed. Ends with
# the slowest test cases, so a test that grew slow is seen.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/build.sh"
# shellcheck source=tools/wine-session.sh
. "$here/tools/wine-session.sh"
wine_test_session_start "$here"
build="$here/build/$(huevik_preset)"
# Each GoogleTest program writes its cases' times here, a file per run (a Windows path: one
# without a drive would be taken as relative to the program's folder).
results="$build/test-results"
rm -rf "$results"
mkdir -p "$results"
status=0
GTEST_OUTPUT="xml:$(winepath -w "$results")\\" ctest --test-dir "$build" --output-on-failure --timeout 1200 "$@" || status=$?
echo "Slowest test cases (seconds):"
sed -n 's/.*<testcase name="\([^"]*\)".* time="\([0-9.]*\)".* classname="\([^"]*\)".*/\2 \3.\1/p' "$results"/*.xml 2>/dev/null |
  sort -rn | head -12 | awk '{ printf "%9.2f  %s\n", $1, $2 }' || true
exit "$status"
