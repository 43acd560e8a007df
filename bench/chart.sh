#!/usr/bin/env bash
# Times our own chart in ZoltW over the benchmark host's data set for 4 December 2026: opening it,
# 100 moves down the results (a new ticker read and drawn each time) and zooming out to five
# years, each until painted (milliseconds; offscreen). Prints the medians of five runs of each
# figure.
source "$(dirname "$0")/common.sh"
window_bench_medians chart-bench
