#!/usr/bin/env bash
# Times the filter run over the benchmark host's data set for 20 November 2026, for the All page
# with and without the performance evaluation. Prints the medians of five runs.
source "$(dirname "$0")/common.sh"

dataset=26112010.vds
[ -f "$program/$dataset" ] || "${zolt[@]}" generate --date 2026-11-20 --ma 10 >/dev/null
printf '[Filter]\r\nPage=8\r\nMinClose=0\r\nMinVolume=0\r\nDoEval=1\r\nEvalDays=4\r\n' >"$program/BENCHEV.VNI"
printf '[Filter]\r\nPage=8\r\nMinClose=0\r\nMinVolume=0\r\nDoEval=0\r\n' >"$program/BENCHNO.VNI"

for settings in BENCHNO BENCHEV; do
  run=("${zolt[@]}" filter --dataset "$dataset" --settings "$settings" --format grid)
  t=$(median5 "${run[@]}")
  rows=$("${run[@]}" | wc -l)
  label=$([ "$settings" = BENCHEV ] && echo "with evaluation" || echo "without evaluation")
  printf 'filter, All page, %-19s %.3f s (median of 5), %d grid rows\n' "$label:" "$t" "$rows"
done
