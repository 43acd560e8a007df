#!/bin/sh
# The manual pages: each renders at 80 columns without a warning, and names every option its
# program's --help lists (zolt's for every command too).
# usage: man-pages.sh MAN_DIR ZOLT ZOLTW ZIMRA
set -eu
mandir=$1 zolt=$2 zoltw=$3 zimra=$4
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "man pages: $*" >&2; exit 1; }

# The options a --help text lists, one a line.
options() { grep -o -- '--[a-z][a-z-]*' | sort -u; }

check() { # page, then the --help texts' file
  page=$mandir/$1
  [ -f "$page" ] || fail "no $page"
  MANWIDTH=80 man --warnings -l "$page" >/dev/null 2>"$tmp/warnings" || fail "$1 does not render"
  [ ! -s "$tmp/warnings" ] || fail "$1 renders with warnings: $(cat "$tmp/warnings")"
  MANWIDTH=80 man --nh --nj -l "$page" 2>/dev/null >"$tmp/text"
  for option in $(options <"$2"); do
    grep -q -- "$option\\b" "$tmp/text" || fail "$1 does not name $option"
  done
  echo "$1: $(options <"$2" | wc -l) options named"
}

"$zolt" --help >"$tmp/zolt-help"
for command in $(sed -n '/^Subcommands:/,$p' "$tmp/zolt-help" | awk 'NR > 1 && NF { print $1 }'); do
  "$zolt" "$command" --help >>"$tmp/zolt-help"
done
check zolt.1 "$tmp/zolt-help"
DISPLAY= "$zoltw" --help >"$tmp/zoltw-help"
check ZoltW.1 "$tmp/zoltw-help"
DISPLAY= "$zimra" --help >"$tmp/zimra-help"
check Zimra.1 "$tmp/zimra-help"
