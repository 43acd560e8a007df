#!/bin/sh
# hermetic-run.sh ROOT COMMAND [ARG...]
# Runs one test in an environment of its own under ROOT, made empty first: temporary files,
# runtime sockets, settings, data, caches and home. A running copy of the programs, the user's
# own settings and other tests then cannot change its result, and it leaves nothing in the
# user's home.
set -eu
root=$1
shift
rm -rf "$root"
mkdir -p "$root/tmp" "$root/run" "$root/config" "$root/data" "$root/cache" "$root/state" "$root/home"
chmod 700 "$root/run"
# The X server's key is found through the real home unless named.
if [ -z "${XAUTHORITY:-}" ] && [ -n "${HOME:-}" ] && [ -f "$HOME/.Xauthority" ]; then
  export XAUTHORITY="$HOME/.Xauthority"
fi
export TMPDIR="$root/tmp" XDG_RUNTIME_DIR="$root/run" XDG_CONFIG_HOME="$root/config" \
       XDG_DATA_HOME="$root/data" XDG_CACHE_HOME="$root/cache" XDG_STATE_HOME="$root/state" \
       HOME="$root/home"
exec "$@"
