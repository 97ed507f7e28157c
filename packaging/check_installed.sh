#!/usr/bin/env bash
# Checks an installed game below PREFIX (a `cmake --install` prefix or the usr/
# of an unpacked package): the layout, the desktop files with the validators
# that are installed, and a start of the installed game on the offscreen
# platform with a fresh home.
#   packaging/check_installed.sh PREFIX
set -euo pipefail
prefix=$(cd "$1" && pwd)
id=cn.tuixiangzi.sokoban
fail() { echo "FAIL: $*" >&2; exit 1; }

expected=(
  bin/sokoban bin/sokoban-solve
  share/sokoban/game.box share/sokoban/easy.box share/sokoban/normal.box
  share/sokoban/veryhard.box share/sokoban/impossible.box
  share/sokoban/music1.mid share/sokoban/music2.mid share/sokoban/music3.mid
  share/sokoban/music4.mid share/sokoban/music5.mid
  share/sokoban/help.html share/sokoban/about.html share/sokoban/contact.html
  share/sokoban/help.css share/sokoban/sokoban.png
  share/applications/$id.desktop share/metainfo/$id.metainfo.xml
  share/mime/packages/$id.xml
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/sokoban.png")
done
for f in "${expected[@]}"; do
  [ -f "$prefix/$f" ] || fail "$f missing"
done
for page in sokoban sokoban-solve; do
  ls "$prefix"/share/man/man6/"$page".6* >/dev/null 2>&1 || fail "man page of $page missing"
done
for exe in sokoban sokoban-solve; do
  [ -x "$prefix/bin/$exe" ] || fail "bin/$exe is not executable"
done
# Nothing but the two programs in bin/: no tests, benchmarks or build tools.
others=$(find "$prefix/bin" -mindepth 1 ! -name sokoban ! -name sokoban-solve)
[ -z "$others" ] || fail "more than the programs in bin/: $others"
[ -z "$(find "$prefix" -name '*_tests' -o -name '*_bench' -o -name 'make_*')" ] ||
  fail "test or build programs installed"

# The validators, where installed.
checked=()
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
  if grep -qE "error|warning" <<<"$out"; then fail "desktop-file-validate: $out"; fi
  checked+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" 2>&1)"
  checked+=(appstreamcli)
elif command -v appstream-util >/dev/null; then
  appstream-util validate-relax --nonet "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "appstream-util validate-relax"
  checked+=(appstream-util)
fi
if command -v xmllint >/dev/null; then
  xmllint --noout "$prefix/share/mime/packages/$id.xml" "$prefix/share/metainfo/$id.metainfo.xml" ||
    fail "xmllint"
  checked+=(xmllint)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if command -v update-mime-database >/dev/null; then
  # The database built from our package alone knows both types.
  mkdir -p "$work/mime/packages"
  cp "$prefix/share/mime/packages/$id.xml" "$work/mime/packages/"
  XDG_DATA_HOME="$work" update-mime-database "$work/mime" >/dev/null 2>"$work/mime.err" || fail "update-mime-database: $(cat "$work/mime.err")"
  [ ! -s "$work/mime.err" ] || fail "update-mime-database: $(cat "$work/mime.err")"
  for t in box xsb; do
    grep -q "application/x-sokoban-$t:\*\.$t" "$work/mime/globs2" || fail "*.$t not in the MIME database"
  done
  checked+=(update-mime-database)
fi
if command -v man >/dev/null; then
  for page in "$prefix"/share/man/man6/sokoban.6* "$prefix"/share/man/man6/sokoban-solve.6*; do
    warn=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || fail "man $page"
    [ -z "$warn" ] || fail "man $page: $warn"
  done
  checked+=(man)
fi
echo "validated with: ${checked[*]:-none installed}"

# The installed game starts, finds share/sokoban as its program directory and
# closes again.
mkdir -p "$work/home"
HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen SOKOBAN_QUIT_AFTER_START=1 \
  timeout 60 "$prefix/bin/sokoban" >"$work/out" 2>&1 || fail "the installed game did not start and close: $(cat "$work/out")"
[ -f "$prefix/share/sokoban/game.var" ] || [ -f "$work/home/.local/share/sokoban/game.var" ] ||
  fail "the game wrote no settings where an installed game keeps them"
others=$(find "$prefix/bin" -mindepth 1 ! -name sokoban ! -name sokoban-solve)
[ -z "$others" ] || fail "the game wrote into bin/: $others"
# The solver runs from there too.
"$prefix/bin/sokoban-solve" --time-limit 10 "$prefix/share/sokoban/game.box" >"$work/solve" ||
  fail "sokoban-solve on the installed game.box"
[ "$(head -1 "$work/solve" | cut -f2)" = solved ] || fail "sokoban-solve did not solve level 1"
echo "ok: $prefix"
