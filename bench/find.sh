#!/usr/bin/env bash
# Times the find run over the benchmark host for the "Upper Boll. Band" and the "100d LT MA"
# ("closed above", no previous action) against cat of every ticker file, warm cache, five runs
# each, on one thread and on all of them. Prints the medians, the ratios find/cat, the speed-up
# and the peak memory of each.
source "$(dirname "$0")/common.sh"

for line in 0 11; do
  printf '[Settings]\r\nMarketAction=0\r\nMarketLine=%d\r\nDoPrevAction=0\r\n' "$line" \
    >"$program/BENCH$line.MNI"
done
cat_=$(median5 cat "${files[@]}")
printf 'cat of %d ticker files: %.3f s (median of 5)\n' "${#files[@]}" "$cat_"
for line in 0 11; do
  name=$([ "$line" = 0 ] && echo "Upper Boll. Band" || echo "100d LT MA")
  one=
  for threads in 1 "$all_threads"; do
    run=("${zolt[@]}" --threads "$threads" find --settings "BENCH$line" --format grid)
    t=$(median5 "${run[@]}")
    one=${one:-$t}
    awk -v n="$name" -v k="$threads" -v t="$t" -v c="$cat_" -v o="$one" -v p="$(peak_mb "${run[@]}")" 'BEGIN {
      printf "find, closed above %-17s %d thread%s %.3f s (median of 5), ratio find/cat %.2f, speed-up %.2fx, peak memory %.1f MB\n",
        n ":", k, k == 1 ? ": " : "s:", t, t / c, o / t, p }'
  done
done
