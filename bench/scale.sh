#!/usr/bin/env bash
# Times the find over hosts of 1,000, 5,000 and 20,000 tickers of 10 years each (made once, kept
# under build/bench-scale-N) on all threads, warm cache, against cat of their ticker files.
# Prints the median of five runs and the time per ticker, which stays flat when the find grows
# linearly with the database.
source "$(dirname "$0")/common.sh"

printf '[Settings]\r\nMarketAction=0\r\nMarketLine=0\r\nDoPrevAction=0\r\n' >"$program/SCALE0.MNI"
printf '[Settings]\r\nMarketAction=0\r\nMarketLine=11\r\nDoPrevAction=0\r\n' >"$program/SCALE11.MNI"
for tickers in 1000 5000 20000; do
  root=build/bench-scale-$tickers
  if [ ! -f "$root/.complete" ]; then
    echo "making the host of $tickers tickers (once)..."
    build/tools/make-host/make-host --root "$root" --tickers "$tickers" --years 10 \
      --end 2026-12-04 --seed 42 >/dev/null
    touch "$root/.complete"
  fi
  scaled=(build/src/cli/zolt --windows-dir "$root/drive_c/windows" --now "2026-12-04 18:00"
          --program-dir "$program")
  host_files=("$root"/drive_c/QEL/DATA1/* "$root"/drive_c/QEL/DATA2/*)
  c=$(median5 cat "${host_files[@]}")
  for line in 0 11; do
    t=$(median5 "${scaled[@]}" find --settings "SCALE$line" --format tickers)
    name=$([ "$line" = 0 ] && echo "Upper Boll. Band" || echo "100d LT MA")
    awk -v k="${#host_files[@]}" -v n="$name" -v t="$t" -v c="$c" -v th="$all_threads" 'BEGIN {
      printf "%5d tickers, %-16s %d threads: %6.3f s (median of 5), %5.1f us a ticker, ratio find/cat %.2f\n",
        k, n ",", th, t, t / k * 1e6, t / c }'
  done
done
