#!/usr/bin/env bash
# Times data set generation over the benchmark host against reading every ticker file with cat,
# on one thread and on all of them. Prints the medians of five warm runs each, their ratio to
# cat, the speed-up and generation's peak memory.
source "$(dirname "$0")/common.sh"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cat_=$(median5 cat "${files[@]}")
bytes=$(du -cb "${files[@]}" | tail -1 | cut -f1)
printf 'tickers: %d files, %d MB\n' "${#files[@]}" $((bytes / 1048576))
printf 'cat:      %.3f s (median of 5)\n' "$cat_"
one=
for threads in 1 "$all_threads"; do
  generate=("${zolt[@]}" --threads "$threads" generate --date 2026-12-04 --ma 10 --out-dir "$out")
  gen=$(median5 "${generate[@]}")
  one=${one:-$gen}
  awk -v k="$threads" -v g="$gen" -v c="$cat_" -v o="$one" -v p="$(peak_mb "${generate[@]}")" 'BEGIN {
    printf "generate, %d thread%s %.3f s (median of 5), ratio generate/cat %.2f, speed-up %.2fx, peak memory %.1f MB\n",
      k, k == 1 ? ": " : "s:", g, g / c, o / g, p }'
done
