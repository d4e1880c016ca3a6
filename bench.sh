#!/usr/bin/env bash
# Builds Huevik and runs every benchmark under Wine on a virtual display, then prints
# one table: each figure against a floor measured in the same run, and its goal.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/build.sh"
# shellcheck source=tools/wine-session.sh
. "$here/tools/wine-session.sh"
wine_test_session_start "$here"
cd "$here/build/$(huevik_preset)"
figures=$(mktemp)
for bench in ./*_bench.exe; do
  echo "running $bench ..." >&2
  timeout 900 wine "$bench" </dev/null >"$figures.one" 2>&1 || echo "FIGURE	$bench failed	0	0	-" >>"$figures"
  grep '^FIGURE' "$figures.one" >>"$figures" || true
done
rm -f "$figures.one"
# Goals: a ratio against the floor (a floor of 0 allows only 0), a difference from it, or an absolute
# limit where a figure has no floor.
awk -F'\t' '
function goal(name) {
  if (name ~ /^pen move with magnifier/) return "ratio<=1.25";
  if (name ~ /^pen move over the bare pixel read/) return "-";
  if (name ~ /^pen move/) return "ratio<=1.1";
  if (name ~ /^idle CPU/) return "ratio<=1.1";
  if (name ~ /^idle wakeups/) return "diff<=2";
  if (name ~ /^startup at 144 dpi/) return "ratio<=1.15";
  if (name ~ /^startup/) return "ratio<=1.3";
  if (name ~ /^peak working set/) return "ratio<=1.5";
  if (name ~ /^working set growth/) return "abs<=512";
  if (name ~ /^size of Huevik.exe/) return "abs<1024";
  if (name ~ /^registry writes/) return "abs<=4";
  return "-";
}
BEGIN { printf "%-44s %12s %12s %8s %-6s %-11s %s\n", "figure", "ours", "floor", "ratio", "unit", "goal", "met" }
$1 == "FIGURE" {
  name = $2; ours = $3 + 0; floor = $4 + 0; unit = $5; g = goal(name);
  ratio = floor > 0 ? sprintf("%.2f", ours / floor) : "-";
  split(g, parts, /<=|</); limit = parts[2] + 0;
  met = "?";
  if (g ~ /^ratio<=/) met = (ours <= limit * floor) ? "yes" : "no";
  else if (g ~ /^diff<=/) met = (ours - floor <= limit) ? "yes" : "no";
  else if (g ~ /^abs<=/) met = (ours <= limit) ? "yes" : "no";
  else if (g ~ /^abs</) met = (ours < limit) ? "yes" : "no";
  printf "%-44s %12.4g %12.4g %8s %-6s %-11s %s\n", name, ours, floor, ratio, unit, g, met;
}' "$figures"
rm -f "$figures"
