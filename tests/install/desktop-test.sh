#!/bin/sh
# The desktop metadata of both windowed programs: the menu entries pass desktop-file-validate,
# the AppStream metainfo passes appstreamcli without the network, and the icons made from the
# SVGs are PNGs of each size a desktop asks for.
# usage: desktop-test.sh SOURCE_DIR BUILD_DIR
set -eu
src=$1 build=$2
fail() { echo "desktop metadata: $*" >&2; exit 1; }

for entry in "$src/src/screener/app/zoltw.desktop" "$src/src/finder/app/zimra.desktop"; do
  out=$(desktop-file-validate "$entry" 2>&1) || fail "$entry: $out"
  [ -z "$out" ] || fail "$entry: $out"
done
for info in "$src/src/screener/app/org.zolt.ZoltW.metainfo.xml" \
            "$src/src/finder/app/org.zolt.Zimra.metainfo.xml"; do
  appstreamcli validate --no-net "$info" >/dev/null 2>&1 ||
    fail "$info: $(appstreamcli validate --no-net "$info" 2>&1)"
done
for icon in "$build/src/screener/icons" "$build/src/finder/icons"; do
  for size in 16 22 24 32 48 64 128 256; do
    png=$(ls "$icon/${size}x${size}/"*.png 2>/dev/null | head -n 1)
    [ -n "$png" ] || fail "no ${size}x${size} icon in $icon"
    # The PNG signature, then the width and height of its header chunk, big-endian.
    [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is no PNG"
    width=$(od -An -tu1 -j16 -N4 "$png" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    height=$(od -An -tu1 -j20 -N4 "$png" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
    [ "$width" = "$size" ] && [ "$height" = "$size" ] || fail "$png is ${width}x$height"
  done
done
echo "desktop metadata: 2 entries, 2 metainfo files and 16 icons checked"
