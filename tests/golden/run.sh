#!/usr/bin/env bash
# Golden outputs of the command line: makes one fixed host installation, runs `zolt filter` and
# `zolt find` with the settings files of settings/ and compares each output byte for byte with
# expected/NAME.txt. With --update the expected files are written instead (review the diff).
# usage: run.sh ZOLT MAKE_HOST [--update]
set -euo pipefail
zolt=$1 makehost=$2 update=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$makehost" --root "$work/host" --tickers 80 --years 3 --end 2026-12-04 --seed 7 >/dev/null
mkdir "$work/prog"
cp "$here"/settings/* "$work/prog/"
locale=C
z() {
  LC_ALL=$locale "$zolt" --windows-dir "$work/host/drive_c/windows" --now "2026-12-07 12:00" \
    --program-dir "$work/prog" "$@"
}
z generate --date 2026-11-20 --ma 10 >/dev/null # evaluation possible
z generate --date 2026-12-04 --ma 5 >/dev/null  # the last market date: no evaluation

# One line per case: name, then the arguments; a first argument LC_ALL=... runs the case in that
# locale (decimal commas and another date separator).
cases=(
  "filter-high      filter --dataset 26112010.vds --format grid"
  "filter-high-table filter --dataset 26112010.vds"
  "filter-low       filter --dataset 26112010.vds --settings LOW --format grid"
  "filter-up        filter --dataset 26112010.vds --settings UP --format grid"
  "filter-down      filter --dataset 26112010.vds --settings DOWN --format grid"
  "filter-gapu      filter --dataset 26112010.vds --settings GAPU --format grid"
  "filter-gapd      filter --dataset 26112010.vds --settings GAPD --format grid"
  "filter-volu      filter --dataset 26112010.vds --settings VOLU --format grid"
  "filter-vold      filter --dataset 26112010.vds --settings VOLD --format grid"
  "filter-all       filter --dataset 26112010.vds --settings ALL --format grid"
  "filter-combo     filter --dataset 26112010.vds --settings COMBO --format grid"
  "filter-sort4     filter --dataset 26112010.vds --settings ALL --sort 4 --format grid"
  "filter-sort4r    filter --dataset 26112010.vds --settings ALL --sort 4 --reverse --format grid"
  "filter-sort10    filter --dataset 26112010.vds --settings UP --sort 10 --format grid"
  "filter-last      filter --dataset 26120405.vds --settings UP --format grid"
  "find-default     find --format grid"
  "find-default-table find"
  "find-eval        find --settings FEVAL --format grid"
  "find-short       find --settings FSHORT --format grid"
  "find-last        find --settings FLAST --format grid"
  "find-sort3       find --settings FEVAL --sort 3 --format grid"
  "find-sort4d      find --settings FEVAL --sort 4 --descending --format grid"
  "find-sort2       find --settings FSHORT --sort 2 --format grid"
  "find-sort3-de    LC_ALL=de_DE.UTF-8 find --settings FEVAL --sort 3 --format grid"
  "filter-tickers   filter --dataset 26112010.vds --settings UP --sort 10 --format tickers"
  "find-tickers     find --settings FSHORT --format tickers"
)
for line in $(seq 0 11); do
  printf '[Settings]\r\nMarketDate=17126\r\nMarketAction=0\r\nMarketLine=%d\r\nDoPrevAction=0\r\n' \
    "$line" >"$work/prog/LINE$line.MNI"
  cases+=("find-line$line find --settings LINE$line --format grid")
done

failed=0
for c in "${cases[@]}"; do
  read -r name args <<<"$c"
  locale=C
  if [[ $args == LC_ALL=* ]]; then
    locale=${args%% *} locale=${locale#LC_ALL=} args=${args#* }
  fi
  # shellcheck disable=SC2086 # the arguments are words
  actual=$(z $args 2>&1; echo "exit $?")
  expected=$here/expected/$name.txt
  if [ "$update" = --update ]; then
    printf '%s\n' "$actual" >"$expected"
  elif ! diff -u "$expected" <(printf '%s\n' "$actual") >"$work/diff"; then
    echo "golden: $name differs:"
    cat "$work/diff"
    failed=1
  fi
done
[ "$update" = --update ] && echo "golden: ${#cases[@]} expected outputs written"
[ $failed -eq 0 ] && echo "golden: ${#cases[@]} outputs as expected"
exit $failed
