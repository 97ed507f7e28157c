#!/usr/bin/env bash
# Builds the Debian package of the game (cpack -G DEB), unpacks it into a
# scratch root with dpkg -x, checks the layout and its dependencies, and
# starts the game from there on the offscreen platform.
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

# What a player's system must have: Qt 6, FluidSynth, a CJK font, a sound font.
depends=$(dpkg-deb -f "$deb" Depends)
for need in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libfluidsynth3 \
            fonts-wqy-microhei timgm6mb-soundfont; do
  grep -qw -- "$need" <<<"$depends" || fail "Depends lacks $need: $depends"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section is not games"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
# Everything lies below usr/.
[ "$(ls "$root")" = usr ] || fail "files outside usr/: $(ls "$root")"
bash packaging/check_installed.sh "$root/usr"
echo "package: $deb"
echo "Depends: $depends"
