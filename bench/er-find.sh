#!/usr/bin/env bash
# Times a find that checks expert ratings through the host stand-in's chart under Wine: a host
# of 125 tickers with the stand-in (kept under build/bench-er-host, a Wine prefix set up on the
# first run), "closed above" the 100d LT MA, ratings of 60 to 100 looked for on the market date
# and the 3 trading days before, every candidate listed. Prints the tickers checked, the time
# of one find (median of 3) and the time per ticker. Needs Wine; runs under Xvfb without a
# display.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a "$0" "$@"; fi

cmake --preset default >/dev/null
cmake --build --preset default --target zolt make-host qelbridge host-standin >/dev/null

host=build/bench-er-host
export WINEPREFIX=$PWD/$host WINEDEBUG=-all
if [ ! -f "$host/.complete" ]; then
  echo "making the benchmark host and its Wine prefix (once)..."
  wineboot -i >/dev/null 2>&1
  build/tools/make-host/make-host --root "$host" --tickers 125 --years 2 --end 2026-12-04 \
    --seed 5 --standin >/dev/null
  touch "$host/.complete"
fi
zolt=(build/src/cli/zolt --windows-dir "$host/drive_c/windows" --now "2026-12-04 18:00")
settings=$host/ER.MNI
printf '[Settings]\r\nMarketAction=0\r\nMarketLine=11\r\nPrevChoice=1\r\nPrevDays=3\r\nPrevUp=1\r\nPrevUpMin=60\r\nPrevUpMax=100\r\n' >"$settings"

checked=$("${zolt[@]}" find --settings "$settings" --ignore-er --format tickers | wc -l)
"${zolt[@]}" find --settings "$settings" --format tickers >/dev/null # starts Wine and the chart
times=()
for _ in 1 2 3; do
  t0=$(date +%s.%N)
  "${zolt[@]}" find --settings "$settings" --format tickers >/dev/null
  t1=$(date +%s.%N)
  times+=("$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')")
done
median=$(printf '%s\n' "${times[@]}" | sort -g | sed -n 2p)
awk -v n="$checked" -v t="$median" 'BEGIN {
  printf "find with the ER check over %d tickers: %.2f s (median of 3), %.3f s a ticker\n", n, t, t / n }'
wineserver -k || true
