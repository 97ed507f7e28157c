#!/usr/bin/env bash
# A level set from a downloaded folder whose record files are symbolic links
# to other files of the player's (one leads nowhere), a set whose progress the
# player made read-only, and a settings file that is a link: the built game
# plays the sets, keeps their records in its own folder (the read-only
# progress as its starting point) and leaves every link, every file a link
# leads to and the read-only file exactly as they were.
set -euo pipefail
exe=$1
bindir=$(dirname "$exe")
# shellcheck source=tests/e2e/scratch.sh
source "$(dirname "$0")/scratch.sh"

mkdir -p "$work/app" "$work/home" "$work/download" "$work/mine" "$work/run"
chmod 700 "$work/run"
cp "$exe" "$work/app/sokoban"
for set in game normal veryhard easy impossible; do
    [ -f "$bindir/$set.box" ] && cp "$bindir/$set.box" "$work/app/"
done
# Three levels each: a room whose box stands one cell from the worker, so
# that one push right passes a level.
python3 - "$work/download/x.box" "$work/mine/kept.box" "$work/mine/kept.sav" \
    "$work/home/shared.var" <<'PY'
import struct, sys
def level():
    cells = bytearray(748)
    for c, ch in enumerate("#@$.#"):
        cells[c] = 1 if ch == "#" else 4 if ch == "$" else 3 if ch == "." else 2
    return struct.pack("<h", 1) + bytes(cells)
for path in sys.argv[1:3]:
    open(path, "wb").write(level() * 3)
# Level 2 unlocked, five empty slots.
def save(level):
    return struct.pack("<hhhh", level, 1, 0, 0) + bytes(748)
open(sys.argv[3], "wb").write(save(2) + save(1) * 5)
# Settings the player shares between copies of the game: face style 3.
var = bytearray(36)
var[0:10] = bytes([1, 3, 2, 2, 1, 0, 0, 1, 6, 1])
open(sys.argv[4], "wb").write(var)
PY
head -c 1342 /dev/urandom >"$work/home/notes.txt"
printf 'buy milk\n' >"$work/home/todo.txt"
ln -s ../home/notes.txt "$work/download/x.sav"
ln -s ../home/todo.txt "$work/download/x.bst"
ln -s ../home/nowhere "$work/download/x.sol"
ln -s ../home/shared.var "$work/app/game.var"
chmod 444 "$work/mine/kept.sav"

snapshot() {
    (cd "$work" && md5sum home/notes.txt home/todo.txt home/shared.var mine/kept.sav &&
        find download mine home/*.txt home/shared.var -printf '%p %y %m %l\n' | sort)
}
before=$(snapshot)
run() {
    env -i PATH="$PATH" HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen \
        SOKOBAN_KEYS=R \
        SOKOBAN_QUIT_AFTER_START=1 timeout 60 "$work/app/sokoban" "$1"
}
# What a level-set record file holds: progress, best counts, answer length.
records() {
    python3 - "$1" <<'PY'
import struct, sys
base = sys.argv[1]
sav = open(base + ".sav", "rb").read()
bst = open(base + ".bst", "rb").read()
sol = open(base + ".sol", "rb").read()
bests = [struct.unpack_from("<hh", bst, i) for i in range(0, len(bst), 4)]
answers = [struct.unpack_from("<h", sol, i + 2)[0] for i in range(0, len(sol), 1029)]
print(struct.unpack_from("<h", sav, 0)[0], bests, answers)
PY
}

# 1. The downloaded set: level 1 passed.
run "$work/download/x.box"
own=$(cd "$work/app" && ls x-*.sav 2>/dev/null || true)
[[ $own =~ ^x-[0-9a-f]{16}\.sav$ ]] || fail "no records of x.box in the game's folder: $(ls "$work/app")"
got=$(records "$work/app/${own%.sav}")
[ "$got" = "2 [(1, 1), (0, 0), (0, 0)] [1, 0, 0]" ] || fail "x.box records: $got"
# The settings went to the per-user folder, starting from the shared ones.
var="$work/home/.local/share/sokoban/game.var"
[ -f "$var" ] && [ ! -L "$var" ] || fail "no settings of the player's own"
python3 - "$var" <<'PY' || fail "the player's settings did not start from the shared ones"
import sys
var = open(sys.argv[1], "rb").read()
assert len(var) == 36 and var[1] == 3, var
PY

# 2. The set with the read-only progress: it opens on level 2, which is passed.
run "$work/mine/kept.box"
own=$(cd "$work/app" && ls kept-*.sav 2>/dev/null || true)
[[ $own =~ ^kept-[0-9a-f]{16}\.sav$ ]] || fail "no records of kept.box in the game's folder"
got=$(records "$work/app/${own%.sav}")
[ "$got" = "3 [(0, 0), (1, 1), (0, 0)] [0, 1, 0]" ] || fail "kept.box records: $got"

[ "$(snapshot)" == "$before" ] || fail "a link, a file it leads to or the read-only file changed:
$(diff <(echo "$before") <(snapshot))"
echo "ok"
