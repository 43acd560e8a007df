#!/usr/bin/env bash
# Times data set generation over a large host against reading every ticker file with cat.
# The host (5,000 tickers over 20 years) is made once and kept under build/bench-host.
# Prints the medians of five warm runs each, their ratio and generation's peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target zolt make-host >/dev/null

host=build/bench-host
windows=$host/drive_c/windows
if [ ! -f "$host/.complete" ]; then
  echo "making the benchmark host (once)..."
  build/tools/make-host/make-host --root "$host" --tickers 5000 --years 20 --end 2026-12-04 --seed 42
  touch "$host/.complete"
fi
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

zolt=(build/src/cli/zolt --windows-dir "$windows" --now "2026-12-07 18:00" generate
      --date 2026-12-04 --ma 10 --out-dir "$out")
files=("$host"/drive_c/QEL/DATA1/* "$host"/drive_c/QEL/DATA2/*)

seconds() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >/dev/null
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }'
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

# Warm the page cache for both.
cat "${files[@]}" >/dev/null
"${zolt[@]}" >/dev/null

gen=$(for i in 1 2 3 4 5; do seconds "${zolt[@]}"; done | median)
cat_=$(for i in 1 2 3 4 5; do seconds cat "${files[@]}"; done | median)
peak=$(/usr/bin/time -f %M "${zolt[@]}" 2>&1 >/dev/null | tail -1)
bytes=$(du -cb "${files[@]}" | tail -1 | cut -f1)

printf 'tickers: %d files, %d MB\n' "${#files[@]}" $((bytes / 1048576))
printf 'generate: %.3f s (median of 5)\n' "$gen"
printf 'cat:      %.3f s (median of 5)\n' "$cat_"
awk -v g="$gen" -v c="$cat_" -v p="$peak" 'BEGIN {
  printf "ratio generate/cat: %.2f\ngenerate peak memory: %.1f MB\n", g / c, p / 1024 }'
