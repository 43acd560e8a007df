#!/bin/sh
# Runs a test against a print server of its own: a cupsd with a private configuration, socket,
# spool and logs in a temporary directory (no system service is touched), a cups-pdf queue on
# it, and the server stopped at the end. cups-pdf writes into the job user's ~/PDF, the one
# place outside; the test removes what it printed there.
# usage: cups-print.sh TEST_BINARY
set -u
test_binary=$1
fail() { echo "cups print test: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "needs root: the cups-pdf back end runs only as root"
for tool in /usr/sbin/cupsd lpadmin lpstat /usr/lib/cups/backend/cups-pdf; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/setup installs it)"
done

dir=$(mktemp -d)
cupsd_pid=
cleanup() {
  [ -n "$cupsd_pid" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT
mkdir -p "$dir/conf/ppd" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/run"
cat >"$dir/conf/cupsd.conf" <<CONF
Listen $dir/run/cups.sock
LogLevel info
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$dir/conf/cups-files.conf" <<CONF
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/spool/tmp
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
DataDir /usr/share/cups
ServerBin /usr/lib/cups
Printcap $dir/printcap
User lp
Group lp
CONF
chmod -R a+rwX "$dir"
/usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" >"$dir/log/cupsd" 2>&1 &
cupsd_pid=$!
export CUPS_SERVER=$dir/run/cups.sock
for _ in $(seq 100); do
  lpstat -r 2>/dev/null | grep -q 'is running' && break
  sleep 0.1
done
lpstat -r 2>/dev/null | grep -q 'is running' ||
  fail "the private cupsd did not start: $(cat "$dir/log/cupsd" "$dir/log/error_log" 2>/dev/null)"
queue=ZoltCupsTest
# pdftocairo makes the PostScript cups-pdf turns back into PDF with the text still text; the
# other renderers give the queue's PDF fonts without a way back to the characters.
lpadmin -p "$queue" -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd \
  -o pdftops-renderer-default=pdftocairo 2>/dev/null ||
  fail "the cups-pdf queue could not be added: $(tail -n 5 "$dir/log/error_log")"

home=$(getent passwd "$(id -un)" | cut -d: -f6)
mkdir -p "$home/PDF"
ls "$home/PDF" >"$dir/before"
ZOLT_TEST_QUEUE=$queue ZOLT_TEST_PDF_DIR=$home/PDF "$test_binary"
status=$?
# What the queue wrote for the test goes again.
ls "$home/PDF" | grep -vxF -f "$dir/before" | while IFS= read -r f; do rm -f "$home/PDF/$f"; done
[ "$status" -eq 0 ] || tail -n 20 "$dir/log/error_log" >&2
exit "$status"
