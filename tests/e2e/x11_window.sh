#!/usr/bin/env bash
# The game on an X server with no window manager, where nobody maximises the
# first window: it covers the screen all the same, and its window class is
# the desktop entry's name, cn.tuixiangzi.sokoban, which docks match with the
# entry's StartupWMClass. Skipped where Xvfb, xprop or xwininfo is missing.
set -euo pipefail
exe=$1
bindir=$(dirname "$exe")
for tool in Xvfb xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
# shellcheck source=tests/e2e/scratch.sh
source "$(dirname "$0")/scratch.sh"

mkdir -p "$work/app" "$work/home" "$work/run"
chmod 700 "$work/run"
cp "$exe" "$work/app/sokoban"
for set in game normal veryhard easy impossible; do cp "$bindir/$set.box" "$work/app/"; done

# A free display number, from the server itself.
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"

env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" DISPLAY="$DISPLAY" \
    "$work/app/sokoban" >/dev/null 2>&1 &
pids+=($!)

# The game's mapped top-level window.
window() {
    local id
    for id in $(xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'); do
        xwininfo -id "$id" | grep -q 'Map State: IsViewable' || continue
        xprop -id "$id" WM_CLASS | grep -q 'cn\.tuixiangzi\.sokoban\|sokoban' && { echo "$id"; return 0; }
    done
    return 1
}
id=
for _ in $(seq 600); do id=$(window) && break; sleep 0.1; done
[ -n "$id" ] || fail "no game window"

class=$(xprop -id "$id" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "sokoban", "cn.tuixiangzi.sokoban"' ] || fail "window class: $class"
size() { xwininfo -id "$id" | sed -n 's/^ *Width: \([0-9]*\)$/\1/p; s/^ *Height: \([0-9]*\)$/\1/p' | paste -sd x; }
for _ in $(seq 100); do [ "$(size)" = 1280x720 ] && break; sleep 0.1; done
[ "$(size)" = 1280x720 ] || fail "a window of $(size) on a 1280x720 screen"
echo "ok"
