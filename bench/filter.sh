#!/usr/bin/env bash
# Times the filter run over the 5,000-ticker data set of the generation benchmark's host, for
# the All page with and without the performance evaluation. Prints the medians of five runs.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target zolt make-host >/dev/null

host=build/bench-host
if [ ! -f "$host/.complete" ]; then
  echo "making the benchmark host (once)..."
  build/tools/make-host/make-host --root "$host" --tickers 5000 --years 20 --end 2026-12-04 --seed 42
  touch "$host/.complete"
fi
program=build/bench-program
mkdir -p "$program"
zolt=(build/src/cli/zolt --windows-dir "$host/drive_c/windows" --now "2026-12-04 18:00"
      --program-dir "$program")
dataset=26112010.vds
[ -f "$program/$dataset" ] || "${zolt[@]}" generate --date 2026-11-20 --ma 10 >/dev/null
printf '[Filter]\r\nPage=8\r\nMinClose=0\r\nMinVolume=0\r\nDoEval=1\r\nEvalDays=4\r\n' >"$program/BENCHEV.VNI"
printf '[Filter]\r\nPage=8\r\nMinClose=0\r\nMinVolume=0\r\nDoEval=0\r\n' >"$program/BENCHNO.VNI"

seconds() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >/dev/null
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }'
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

for settings in BENCHNO BENCHEV; do
  run=("${zolt[@]}" filter --dataset "$dataset" --settings "$settings" --format grid)
  "${run[@]}" >/dev/null # warm
  t=$(for i in 1 2 3 4 5; do seconds "${run[@]}"; done | median)
  rows=$("${run[@]}" | wc -l)
  label=$([ "$settings" = BENCHEV ] && echo "with evaluation" || echo "without evaluation")
  printf 'filter, All page, %-18s %.3f s (median of 5), %d grid rows\n' "$label:" "$t" "$rows"
done
