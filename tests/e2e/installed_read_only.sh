#!/usr/bin/env bash
# The installed game as a player meets it: installed into a prefix nobody may
# write, run by an ordinary user with a fresh HOME on a level set from a
# read-only folder. A level solved in one run is still solved in the next,
# the progress lies in ~/.local/share/sokoban, the install is untouched, and
# two copies running at once keep undo histories of their own.
#   installed_read_only.sh BUILD_DIR
set -euo pipefail
build=$1
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: needs root to install read-only and to play as another user"
    exit 77
fi
# shellcheck source=tests/e2e/scratch.sh
source "$(dirname "$0")/scratch.sh"

cmake --install "$build" --prefix "$work/prefix" >/dev/null
game=$work/prefix/bin/sokoban
[ -x "$game" ] || fail "no installed game"
ls "$work"/prefix/lib*/sokoban/sokoban-audio.so >/dev/null 2>&1 || fail "no audio module installed"

# Two levels on a read-only medium: the box one push (level 1) or two pushes
# (level 2) from its goal.
mkdir -p "$work/cd" "$work/home" "$work/run" "$work/run2"
python3 "$(dirname "$0")/make_box.py" "$work/cd/two.box" "#####/#@$.#/#####" "######/#@$ .#/######"
chmod -R a-w "$work/prefix" "$work/cd"
chown 65534:65534 "$work/home" "$work/run" "$work/run2"
chmod 700 "$work/run" "$work/run2"
snapshot() { (cd "$work" && find prefix cd -printf '%p %s %m\n' | sort &&
              find prefix cd -type f -exec md5sum {} + | sort); }
before=$(snapshot)

player=(env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run"
        QT_QPA_PLATFORM=offscreen)
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
play() { # keys, then whether to leave when done
    "${player[@]}" SOKOBAN_KEYS="$1" SOKOBAN_QUIT_AFTER_START=1 \
        timeout 60 "${as_nobody[@]}" "$game" "$work/cd/two.box"
}
user=$work/home/.local/share/sokoban
# Prints level reached (the .sav) and the best moves and pushes of each level (the .bst).
progress() {
    python3 - "$user" <<'PY'
import glob, struct, sys
d = sys.argv[1]
sav, = glob.glob(d + "/two-*.sav")
bst, = glob.glob(d + "/two-*.bst")
b = open(bst, "rb").read()
print(struct.unpack_from("<h", open(sav, "rb").read(), 0)[0],
      *struct.unpack("<%dh" % (len(b) // 2), b))
PY
}

# 1. Level 1 solved with one push: level 2 is open, the best of level 1 kept.
play R
[ "$(progress)" = "2 1 1 0 0" ] || fail "after solving level 1: $(progress)"
# 2. A new start goes on at level 2; two pushes solve it.
play RR
[ "$(progress)" = "2 1 1 2 2" ] || fail "after the restart: $(progress)"
[ -z "$(cd "$user" && ls game-*.tmp 2>/dev/null)" ] || fail "undo history left behind"

# 3. Two copies at once on level 2: one pushes once, the other does not move.
#    Two sessions with runtime folders of their own: in one, the second start
#    would hand its set to the first game.
"${player[@]}" SOKOBAN_KEYS=R "${as_nobody[@]}" "$game" "$work/cd/two.box" &
pids+=($!)
"${player[@]}" XDG_RUNTIME_DIR="$work/run2" "${as_nobody[@]}" "$game" "$work/cd/two.box" &
pids+=($!)
history() { stat -c %s "$user/game-$1.tmp" 2>/dev/null || echo 0; }
for _ in $(seq 300); do
    [ "$(history "${pids[0]}")" -eq 1512 ] && [ "$(history "${pids[1]}")" -eq 756 ] && break
    sleep 0.1
done
sleep 0.3 # anything more either would write comes now
[ "$(history "${pids[0]}")" -eq 1512 ] || fail "the copy that pushed: $(history "${pids[0]}") bytes"
[ "$(history "${pids[1]}")" -eq 756 ] || fail "the copy that did not: $(history "${pids[1]}") bytes"
kill -KILL "${pids[@]}"
wait "${pids[@]}" 2>/dev/null || true
pids=()

[ "$(snapshot)" == "$before" ] || fail "the install or the read-only set changed"
echo "ok"
