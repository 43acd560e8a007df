#!/usr/bin/env bash
# The bash completion of zolt: commands, a command's options, the values of --format, settings
# and data sets of the program directory, and the host's tickers for quote.
# usage: completion-test.sh COMPLETION ZOLT MAKE_HOST
set -eu
completion=$1 zolt=$2 makehost=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "completion: $*" >&2; exit 1; }

mkdir -p "$tmp/bin" "$tmp/prog"
ln -s "$(realpath "$zolt")" "$tmp/bin/zolt"
export PATH="$tmp/bin:$PATH"
"$makehost" --root "$tmp/host" --tickers 6 --years 1 --end 2026-12-04 --seed 3 >/dev/null
touch "$tmp/prog/MINE.VNI" "$tmp/prog/CROSS.MNI" "$tmp/prog/26120410.vds" "$tmp/prog/notes.txt"
# shellcheck source=/dev/null
source "$completion"

# Completes the line (the last word is the one being completed) and prints the candidates.
complete_line() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  _zolt
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() { # what, wanted, got
  [ "$2" = "$3" ] || fail "$1: wanted '$2', got '$3'"
}

expect "commands" "filter find " "$(complete_line zolt f)"
expect "globals" "--now " "$(complete_line zolt --n)"
expect "after a global" "generate " "$(complete_line zolt --threads 2 gen)"
expect "filter's options" "--dataset " "$(complete_line zolt filter --data)"
expect "find's order" "--date --descending " "$(complete_line zolt find --d)"
expect "formats" "csv table " "$(complete_line zolt dataset --format '')"
P=(--program-dir "$tmp/prog")
expect "filter settings" "MINE " "$(complete_line zolt "${P[@]}" filter --settings '')"
expect "find settings" "CROSS " "$(complete_line zolt "${P[@]}" find --settings '')"
expect "data sets" "26120410.vds " "$(complete_line zolt "${P[@]}" filter --dataset '')"
W=(--windows-dir "$tmp/host/drive_c/windows" --now "2026-12-07 12:00")
tickers=$(complete_line zolt "${W[@]}" quote '')
[ "$(wc -w <<<"$tickers")" -ge 6 ] || fail "quote's tickers: '$tickers'"
expect "a ticker" "SPX " "$(complete_line zolt "${W[@]}" chart sp)"
echo "completion: all cases completed as wanted"
