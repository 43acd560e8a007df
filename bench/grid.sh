#!/usr/bin/env bash
# Times ZoltW's main window over the benchmark host's data set for 4 December 2026 with every
# ticker listed: the filter filling the grid, one paint, paging through all rows, and sorting
# by column 5 and back. Medians of five runs, offscreen.
source "$(dirname "$0")/common.sh"
window_bench_medians grid-bench
