#!/usr/bin/env bash
# Builds the Debian package of the game (cpack -G DEB), checks its control
# data, runs lintian on it where lintian is installed, unpacks it into a
# scratch root with dpkg -x, checks the layout and starts the game from there
# on the offscreen platform.
#   scripts/package.sh [--no-build] [BUILD_DIR]      (BUILD_DIR: build)
# The package is left in BUILD_DIR/package/.
set -euo pipefail
cd "$(dirname "$0")/.."
build_first=1
if [ "${1:-}" = --no-build ]; then build_first=0; shift; fi
build=$(realpath -m "${1:-build}")
fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$build_first" = 1 ]; then
  scripts/setup.sh
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)"
fi

out=$build/package
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) ||
  fail "cpack: $(cat "$out/cpack.log")"
rm -rf "$out/_CPack_Packages"
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb"
deb=${debs[0]}
field() { dpkg-deb -f "$deb" "$1"; }

# What a player's system must have: Qt 6, FluidSynth, a CJK font, a sound font.
depends=$(field Depends)
for need in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libfluidsynth3 \
            fonts-wqy-microhei timgm6mb-soundfont; do
  grep -qw -- "$need" <<<"$depends" || fail "Depends lacks $need: $depends"
done
[ "$(field Section)" = games ] || fail "section is not games"
grep -qE '^[^<>]+ <[^@<> ]+@[^@<> ]+\.[a-z]+>$' <<<"$(field Maintainer)" ||
  fail "Maintainer without an address: $(field Maintainer)"
# A summary line, then a long description wrapped for a terminal.
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "no long description: $description"
[ -z "$(awk 'length > 80' <<<"$description")" ] ||
  fail "description lines over 80 characters: $description"
# Nothing for the maintainer scripts to do: no ldconfig for the private
# audio module, no shared libraries of its own for other packages.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "control files beyond control and md5sums: $control"

if command -v lintian >/dev/null; then
  # As root lintian says so on stderr; its tags go to stdout.
  lintian --pedantic --display-info --tag-display-limit 0 "$deb" >"$out/lintian.txt" 2>"$out/lintian.err" || true
  [ ! -s "$out/lintian.txt" ] || cat "$out/lintian.txt"
  grep -q '^[EW]: ' "$out/lintian.txt" && fail "lintian: errors or warnings"
  grep -v '^running with root privileges' "$out/lintian.err" | grep . && fail "lintian did not run"
  echo "lintian: $(grep -c '^[IP]: ' "$out/lintian.txt" || true) information tags, no error or warning"
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
# Everything lies below usr/; the programs in /usr/games, as Debian keeps games.
[ "$(ls "$root")" = usr ] || fail "files outside usr/: $(ls "$root")"
bash packaging/check_installed.sh "$root/usr" games
echo "package: $deb"
echo "Depends: $depends"
