#!/usr/bin/env bash
# Builds Huevik and runs every benchmark under Wine on a virtual display, then prints
# one table: each figure against a floor measured in the same run, and its goal.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/build.sh"
# shellcheck source=tools/wine-session.sh
. "$here/tools/wine-session.sh"
wine_test_session_start "$here"
# The download's size is one of the figures.
cmake --build --preset "$(huevik_preset)" --target package >/dev/null
cd "$here/build/$(huevik_preset)"
figures=$(mktemp)
# The programs of today's sources: a build folder may still hold one whose source is gone.
for source in "$here"/bench/*_bench.cpp; do
  bench="./$(basename "$source" .cpp).exe"
  echo "running $bench ..." >&2
  timeout 900 wine "$bench" </dev/null >"$figures.one" 2>&1 ||
    printf 'FIGURE\t%s failed\t0\t0\t-\t-\t-\tno\n' "$bench" >>"$figures"
  grep '^FIGURE' "$figures.one" >>"$figures" || true
done
rm -f "$figures.one"
# Each line carries its figure, ratio, goal and whether the goal was met (bench/bench_report.h).
awk -F'\t' '
BEGIN { printf "%-44s %12s %12s %8s %-6s %-11s %s\n", "figure", "ours", "floor", "ratio", "unit", "goal", "met" }
$1 == "FIGURE" { printf "%-44s %12.4g %12.4g %8s %-6s %-11s %s\n", $2, $3, $4, $5, $6, $7, $8 }' "$figures"
rm -f "$figures"
