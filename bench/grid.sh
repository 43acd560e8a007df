#!/usr/bin/env bash
# Times ZoltW's main window over the benchmark host's data set for 4 December 2026 with every
# ticker listed: the filter filling the grid, one paint, paging through all rows, and sorting
# by column 5 and back. Medians of five runs, offscreen.
source "$(dirname "$0")/common.sh"
cmake --build --preset default --target grid-bench >/dev/null
[ -f "$program/26120410.vds" ] || "${zolt[@]}" generate --date 2026-12-04 --ma 10 >/dev/null
runs=$(for _ in 1 2 3 4 5; do
  QT_QPA_PLATFORM=offscreen build/bench/grid-bench --windows-dir "$host/drive_c/windows" \
    --program-dir "$program" 26120410.vds 2>/dev/null
done)
for step in rows fill paint pages paging sort reverse; do
  printf '%-8s %s\n' "$step" "$(echo "$runs" | awk -v s="$step" '$1 == s { print $2 }' |
    sort -g | sed -n 3p)"
done
