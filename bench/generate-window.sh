#!/usr/bin/env bash
# Times generation on the benchmark host through ZoltW's generation window against the engine
# alone (medians of three, offscreen, warm cache). The window's share is window - kickoff - engine.
source "$(dirname "$0")/common.sh"
cmake --build --preset default --target generate-bench >/dev/null
"${zolt[@]}" generate --date 2026-12-04 --ma 10 >/dev/null # warms the page cache
QT_QPA_PLATFORM=offscreen build/bench/generate-bench --windows-dir "$host/drive_c/windows" \
  --program-dir "$program" 2>/dev/null
