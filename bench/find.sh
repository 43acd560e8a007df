#!/usr/bin/env bash
# Times the find run over the generation benchmark's host (5,000 tickers, 20 years) for the
# "Upper Boll. Band" and the "100d LT MA" ("closed above", no previous action) against cat of
# every ticker file, warm cache, five runs each. Prints the medians and the ratios find/cat.
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
for line in 0 11; do
  printf '[Settings]\r\nMarketAction=0\r\nMarketLine=%d\r\nDoPrevAction=0\r\n' "$line" \
    >"$program/BENCH$line.MNI"
done
zolt=(build/src/cli/zolt --windows-dir "$host/drive_c/windows" --now "2026-12-04 18:00"
      --program-dir "$program")
files=("$host"/drive_c/QEL/DATA1/* "$host"/drive_c/QEL/DATA2/*)

seconds() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >/dev/null
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }'
}
median() { sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

cat "${files[@]}" >/dev/null
cat_=$(for i in 1 2 3 4 5; do seconds cat "${files[@]}"; done | median)
printf 'cat of %d ticker files: %.3f s (median of 5)\n' "${#files[@]}" "$cat_"
for line in 0 11; do
  run=("${zolt[@]}" find --settings "BENCH$line" --format grid)
  "${run[@]}" >/dev/null
  t=$(for i in 1 2 3 4 5; do seconds "${run[@]}"; done | median)
  found=$(("$("${run[@]}" | wc -l)" - 6))
  name=$([ "$line" = 0 ] && echo "Upper Boll. Band" || echo "100d LT MA")
  awk -v n="$name" -v t="$t" -v c="$cat_" -v f="$found" 'BEGIN {
    printf "find, closed above %-16s %.3f s (median of 5), ratio find/cat %.2f, about %d rows\n", n ":", t, t / c, f }'
done
