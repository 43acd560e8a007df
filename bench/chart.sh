#!/usr/bin/env bash
# Times our own chart in ZoltW over the benchmark host's data set for 4 December 2026: opening it,
# 100 moves down the results (a new ticker read and drawn each time) and zooming out to five
# years, each until painted (milliseconds; offscreen). Prints the medians of five runs of each
# figure.
source "$(dirname "$0")/common.sh"
cmake --build --preset default --target chart-bench >/dev/null
[ -f "$program/26120410.vds" ] || "${zolt[@]}" generate --date 2026-12-04 --ma 10 >/dev/null
runs=$(for _ in 1 2 3 4 5; do
  QT_QPA_PLATFORM=offscreen build/bench/chart-bench --windows-dir "$host/drive_c/windows" \
    --program-dir "$program" 26120410.vds 2>/dev/null
done)
for step in open move-median move-worst zoom-steps zoom-worst bars-shown; do
  printf '%-12s %s\n' "$step" "$(echo "$runs" | awk -v s="$step" '$1 == s { print $2 }' |
    sort -g | sed -n 3p)"
done
