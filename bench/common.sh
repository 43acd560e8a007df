# Sourced by the benchmarks: builds the command line, makes the benchmark host once (5,000
# tickers over 20 years, kept under build/bench-host) and defines the timing helpers.
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
files=("$host"/drive_c/QEL/DATA1/* "$host"/drive_c/QEL/DATA2/*)

# What "all threads" is: the processor's, as the programs count them.
all_threads=$(nproc)

# Peak resident memory of one run of a command, in MB.
peak_mb() {
  /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1 | awk '{ print $1 / 1024 }'
}

# Seconds one run of a command takes; its output is dropped.
seconds() {
  local t0 t1
  t0=$(date +%s.%N)
  "$@" >/dev/null
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }'
}

# The median of five runs, after one run that warms the page cache.
median5() {
  "$@" >/dev/null
  for _ in 1 2 3 4 5; do seconds "$@"; done | sort -g | awk '{a[NR]=$1} END {print a[3]}'
}

# Runs a window benchmark (build/bench/NAME, offscreen, on the data set of 4 December 2026) five
# times and prints the median of each "step value" line it prints, in the order of its first run.
window_bench_medians() {
  local name=$1 runs
  cmake --build --preset default --target "$name" >/dev/null
  [ -f "$program/26120410.vds" ] || "${zolt[@]}" generate --date 2026-12-04 --ma 10 >/dev/null
  runs=$(for _ in 1 2 3 4 5; do
    QT_QPA_PLATFORM=offscreen "build/bench/$name" --windows-dir "$host/drive_c/windows" \
      --program-dir "$program" 26120410.vds 2>/dev/null
  done)
  for step in $(echo "$runs" | awk '!seen[$1]++ { print $1 }'); do
    printf '%-12s %s\n' "$step" "$(echo "$runs" | awk -v s="$step" '$1 == s { print $2 }' |
      sort -g | sed -n 3p)"
  done
}
