#!/bin/sh
# Installs the build into a temporary prefix and runs the installed programs from there: they
# must find a host and keep their own files under $XDG_DATA_HOME/zolt, not beside themselves.
# usage: install-test.sh CMAKE BUILD_DIR
set -eu
cmake=$1
build=$2

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() { echo "install test: $*" >&2; exit 1; }

"$cmake" --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/zolt" ] || fail "no bin/zolt"
[ -x "$prefix/bin/make-host" ] || fail "no bin/make-host"
[ -d "$prefix/share/zolt" ] || fail "no share/zolt"
for page in zolt ZoltW Zimra; do
  [ -f "$prefix/share/man/man1/$page.1.gz" ] || fail "no manual page $page.1.gz"
done
[ -f "$prefix/share/bash-completion/completions/zolt" ] || fail "no bash completion"
if [ -f "$build/src/screener/ZoltW" ]; then
  [ -x "$prefix/bin/ZoltW" ] || fail "no bin/ZoltW"
  grep -qx 'Exec=ZoltW' "$prefix/share/applications/zoltw.desktop" || fail "no desktop entry"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/zoltw.svg" ] || fail "no icon"
  [ -f "$prefix/share/icons/hicolor/48x48/apps/zoltw.png" ] || fail "no 48x48 icon"
  [ -f "$prefix/share/metainfo/org.zolt.ZoltW.metainfo.xml" ] || fail "no metainfo"
  [ -f "$prefix/share/zolt/help/zoltw/index.txt" ] || fail "no help pages"
fi
if [ -f "$build/src/finder/Zimra" ]; then
  [ -x "$prefix/bin/Zimra" ] || fail "no bin/Zimra"
  grep -qx 'Exec=Zimra' "$prefix/share/applications/zimra.desktop" || fail "no desktop entry"
  [ -f "$prefix/share/icons/hicolor/scalable/apps/zimra.svg" ] || fail "no icon"
  [ -f "$prefix/share/icons/hicolor/48x48/apps/zimra.png" ] || fail "no 48x48 icon"
  [ -f "$prefix/share/metainfo/org.zolt.Zimra.metainfo.xml" ] || fail "no metainfo"
  [ -f "$prefix/share/zolt/help/zimra/index.txt" ] || fail "no help pages"
fi

# A clean environment: no leftovers of the caller's data, Wine or locale settings.
export HOME="$tmp/home" XDG_DATA_HOME="$tmp/data" XDG_CONFIG_HOME="$tmp/config" LC_ALL=C
unset WINEPREFIX LANG LANGUAGE
mkdir -p "$HOME"

"$prefix/bin/make-host" --root "$tmp/host" --tickers 5 --years 1 --end 2026-12-04 --seed 3 >/dev/null
windows=$tmp/host/drive_c/windows

# Help and version on every program, on stdout with status 0, before any display is needed.
"$prefix/bin/zolt" --help | grep -q '^  find ' || fail "zolt --help lists no find"
"$prefix/bin/zolt" --version | grep -q '^zolt [0-9]' || fail "zolt --version"
for program in ZoltW Zimra; do
  [ -x "$prefix/bin/$program" ] || continue
  DISPLAY= "$prefix/bin/$program" --help | grep -q -- '--program-dir <DIR>' || fail "$program --help"
  DISPLAY= "$prefix/bin/$program" --version | grep -q "^$program [0-9]" || fail "$program --version"
  if DISPLAY= "$prefix/bin/$program" --bogus 2>/dev/null; then fail "$program took --bogus"; fi
done

out=$(cd "$tmp" && "$prefix/bin/zolt" --windows-dir "$windows" --now "2026-12-05 10:00" host)
echo "$out" | grep -qx 'Last market date: Friday, December 4, 2026' || fail "host report: $out"
echo "$out" | grep -q '^Ticker files: *[1-9]' || fail "host report: $out"

out=$(cd "$tmp" && "$prefix/bin/zolt" --windows-dir "$windows" --now "2026-12-07 18:00" \
        generate --date 2026-12-04 --ma 10)
[ -s "$XDG_DATA_HOME/zolt/26120410.vds" ] || fail "no data set in \$XDG_DATA_HOME/zolt: $out"
[ -z "$(find "$prefix" -name '*.vds')" ] || fail "a data set went into the installation"

# Without XDG_DATA_HOME the default under the home directory holds them.
out=$(cd "$tmp" && env -u XDG_DATA_HOME "$prefix/bin/zolt" --windows-dir "$windows" \
        --now "2026-12-07 18:00" generate --date 2026-12-04 --ma 5)
[ -s "$HOME/.local/share/zolt/26120405.vds" ] || fail "no data set in ~/.local/share/zolt: $out"

# The installed make-host installs the installed stand-in, where the build has one.
if [ -f "$build/tools/host-standin/win64/qelch32.exe" ]; then
  out=$("$prefix/bin/make-host" --root "$tmp/host2" --tickers 2 --years 1 --end 2026-12-04 --standin)
  echo "$out" | grep -q "^Host stand-in: *$prefix/share/zolt/standin/win" ||
    fail "make-host --standin: $out"
  [ -f "$tmp/host2/drive_c/QEL/qelch32.exe" ] && [ -f "$tmp/host2/drive_c/QEL/qelio32.dll" ] &&
    [ -f "$tmp/host2/drive_c/QEL/ratings.txt" ] || fail "the stand-in was not installed"
fi
echo "install test: passed"
