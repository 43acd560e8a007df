#!/usr/bin/env bash
# The zolt process as a shell sees it: a failed write of standard output fails the command, a
# FIFO in a file's place does not hang it, bad global options are usage errors.
# usage: process-test.sh ZOLT MAKE_HOST
set -uo pipefail
zolt=$1 makehost=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() { # what, expected status, actual status
  if [ "$2" != "$3" ]; then
    echo "FAILED: $1 (exit $3, wanted $2)"
    failed=1
  fi
}

"$makehost" --root "$work/host" --tickers 5 --years 1 >/dev/null || exit 1
win=$work/host/drive_c/windows

"$zolt" --windows-dir "$win" host >/dev/full 2>"$work/err"
check "output to a full disk" 1 $?
grep -q "cannot write the output: No space left on device" "$work/err" ||
  { echo "FAILED: no reason for the failed output"; cat "$work/err"; failed=1; }

"$zolt" --windows-dir "" host >/dev/null 2>&1
check "an empty --windows-dir" 2 $?

mkdir "$work/fifo" && mkfifo "$work/fifo/Qel32.Ini"
timeout 5 "$zolt" --windows-dir "$work/fifo" host >/dev/null 2>"$work/err"
check "a FIFO as Qel32.Ini" 2 $?
grep -q "Qel32.Ini is a FIFO" "$work/err" || { echo "FAILED: FIFO not named"; failed=1; }

[ $failed -eq 0 ] && echo "process tests passed"
exit $failed
