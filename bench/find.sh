#!/usr/bin/env bash
# Times the find run over the benchmark host for the "Upper Boll. Band" and the "100d LT MA"
# ("closed above", no previous action) against cat of every ticker file, warm cache, five runs
# each. Prints the medians and the ratios find/cat.
source "$(dirname "$0")/common.sh"

for line in 0 11; do
  printf '[Settings]\r\nMarketAction=0\r\nMarketLine=%d\r\nDoPrevAction=0\r\n' "$line" \
    >"$program/BENCH$line.MNI"
done
cat_=$(median5 cat "${files[@]}")
printf 'cat of %d ticker files: %.3f s (median of 5)\n' "${#files[@]}" "$cat_"
for line in 0 11; do
  run=("${zolt[@]}" find --settings "BENCH$line" --format grid)
  t=$(median5 "${run[@]}")
  name=$([ "$line" = 0 ] && echo "Upper Boll. Band" || echo "100d LT MA")
  awk -v n="$name" -v t="$t" -v c="$cat_" 'BEGIN {
    printf "find, closed above %-17s %.3f s (median of 5), ratio find/cat %.2f\n", n ":", t, t / c }'
done
