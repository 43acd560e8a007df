#!/bin/sh
# The Debian package: made by CPack from the build, it holds the programs, the bridge, the
# stand-in, the help and manual pages, the completion and the desktop metadata, its Depends come
# from the binaries' libraries with Wine only recommended, and lintian finds no error in it.
# usage: package-test.sh CPACK BUILD_DIR
set -eu
cpack=$1 build=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "package: $*" >&2; exit 1; }

(cd "$tmp" && "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1) ||
  fail "cpack failed: $(tail -n 20 "$tmp/cpack.log")"
deb=$(ls "$tmp"/out/zolt_*_amd64.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no zolt_VERSION_amd64.deb: $(ls "$tmp/out")"

dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$tmp/files"
for f in /usr/bin/zolt /usr/bin/ZoltW /usr/bin/Zimra /usr/share/zolt/qelbridge32.exe \
         /usr/share/zolt/qelbridge64.exe /usr/share/zolt/standin/win32/qelch32.exe \
         /usr/share/zolt/standin/win64/qelio32.dll /usr/share/zolt/help/zoltw/index.txt \
         /usr/share/zolt/help/zimra/index.txt /usr/share/man/man1/zolt.1.gz \
         /usr/share/man/man1/ZoltW.1.gz /usr/share/man/man1/Zimra.1.gz \
         /usr/share/bash-completion/completions/zolt /usr/share/applications/zoltw.desktop \
         /usr/share/applications/zimra.desktop /usr/share/metainfo/org.zolt.ZoltW.metainfo.xml \
         /usr/share/metainfo/org.zolt.Zimra.metainfo.xml \
         /usr/share/icons/hicolor/48x48/apps/zoltw.png /usr/share/icons/hicolor/256x256/apps/zimra.png \
         /usr/share/icons/hicolor/scalable/apps/zimra.svg /usr/share/doc/zolt/copyright \
         /usr/share/doc/zolt/changelog.gz; do
  grep -qx "$f" "$tmp/files" || fail "no $f in the package"
done

dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q 'wine' && fail "Wine is a Depends, not a Recommends"
[ "$(dpkg-deb -f "$deb" Recommends)" = wine ] || fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"

command -v lintian >/dev/null || fail "lintian is not installed"
lintian --fail-on error --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1 ||
  fail "lintian found errors or could not run: $(cat "$tmp/lintian")"
echo "package: $(basename "$deb"), $(wc -l <"$tmp/files") entries, lintian:"
grep '^[WI]:' "$tmp/lintian" || echo "  nothing to report"
