#!/usr/bin/env bash
# Times data set generation over the benchmark host against reading every ticker file with cat.
# Prints the medians of five warm runs each, their ratio and generation's peak memory.
source "$(dirname "$0")/common.sh"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
generate=("${zolt[@]}" generate --date 2026-12-04 --ma 10 --out-dir "$out")

gen=$(median5 "${generate[@]}")
cat_=$(median5 cat "${files[@]}")
peak=$(/usr/bin/time -f %M "${generate[@]}" 2>&1 >/dev/null | tail -1)
bytes=$(du -cb "${files[@]}" | tail -1 | cut -f1)

printf 'tickers: %d files, %d MB\n' "${#files[@]}" $((bytes / 1048576))
printf 'generate: %.3f s (median of 5)\n' "$gen"
printf 'cat:      %.3f s (median of 5)\n' "$cat_"
awk -v g="$gen" -v c="$cat_" -v p="$peak" 'BEGIN {
  printf "ratio generate/cat: %.2f\ngenerate peak memory: %.1f MB\n", g / c, p / 1024 }'
