#!/usr/bin/env bash
# Start-up to the first drawn frame and peak resident memory of the game,
# side by side with a bare Qt window (one menu, a label, a timer) built here
# from bench/startup/bare_window.cpp. Both run on the offscreen platform;
# the game in a copy of the build with sound and music on (the defaults),
# and stays until its sound is set up, so the peak includes it.
# Usage: bench/startup_memory.sh [build dir] [runs]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
runs=${2:-20}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shellcheck disable=SC2046
c++ -std=c++20 -O2 -fPIC "$here/startup/bare_window.cpp" -o "$work/bare" \
    $(pkg-config --cflags --libs Qt6Widgets)
# The game with its program directory and audio module, as in the build.
mkdir -p "$work/game"
cp -r "$build/bin" "$work/game/bin"
[ -d "$build/lib" ] && cp -r "$build/lib" "$work/game/lib"
rm -f "$work/game/bin"/game.var "$work/game/bin"/*.sav "$work/game/bin"/*.bst \
    "$work/game/bin"/*.sol
mkdir -p "$work/home"

# One run: prints "<ms to first frame> <peak KB>".
measure() {
    local start out
    start=$(date +%s%N)
    out=$(env HOME="$work/home" QT_QPA_PLATFORM=offscreen SOKOBAN_QUIT_AFTER_START=stamp \
        /usr/bin/time -f "peak %M" "$@" 2>&1 >/dev/null)
    local frame peak
    frame=$(sed -n 's/^first frame \([0-9]*\)$/\1/p' <<<"$out")
    peak=$(sed -n 's/^peak \([0-9]*\)$/\1/p' <<<"$out")
    [ -n "$frame" ] && [ -n "$peak" ] || { echo "no figures from $1: $out" >&2; exit 1; }
    echo "$(( (frame - start) / 1000 )) $peak"
}

: >"$work/bare.txt"
: >"$work/game.txt"
for _ in $(seq "$runs"); do # side by side: one of each in turn
    measure "$work/bare" >>"$work/bare.txt"
    measure "$work/game/bin/sokoban" >>"$work/game.txt"
done

awk -v runs="$runs" '
FNR == 1 { f++ }
{ us[f] += $1; if (!best[f] || $1 < best[f]) best[f] = $1; if ($2 > peak[f]) peak[f] = $2 }
END {
    name[1] = "bare window"; name[2] = "game"
    for (i = 1; i <= 2; i++)
        printf "%-12s first frame: mean %6.1f ms, best %6.1f ms; peak resident %5.1f MB\n",
            name[i], us[i] / runs / 1000, best[i] / 1000, peak[i] / 1024
    printf "ratio game / bare: start-up mean %.2f, best %.2f; memory %.2f\n",
        us[2] / us[1], best[2] / best[1], peak[2] / peak[1]
}' "$work/bare.txt" "$work/game.txt"
