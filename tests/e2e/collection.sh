#!/usr/bin/env bash
# The built game started on a collection of 50 levels in text: the levels
# become a level set in the per-user levels folder with a title index; a
# second start finds the same set; after the file gains a level, the set is
# rebuilt and the progress of the player is kept.
set -euo pipefail
exe=$1
bindir=$(dirname "$exe")
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
size() { stat -c %s "$1"; }

mkdir -p "$work/app" "$work/home" "$work/xdg" "$work/files"
cp "$exe" "$work/app/sokoban"
for set in game normal veryhard easy impossible; do
    [ -f "$bindir/$set.box" ] && cp "$bindir/$set.box" "$work/app/"
done
python3 "$here/make_collection.py" "$work/files/corridors.sok" 50

run() {
    HOME="$work/home" XDG_DATA_HOME="$work/xdg" QT_QPA_PLATFORM=offscreen \
        SOKOBAN_SCREENSHOT="$work/shot.png" timeout 60 "$work/app/sokoban" "$@"
}

run "$work/files/corridors.sok"
levels="$work/xdg/sokoban/levels"
box="$levels/corridors.box"
[ -f "$box" ] || fail "no level set made: $(ls -R "$work/xdg" 2>&1)"
[ "$(size "$box")" -eq $((50 * 750)) ] || fail "corridors.box holds $(size "$box") bytes"
[ "$(size "$levels/corridors.sav")" -eq 4536 ] || fail "the set was not opened"
[ "$(size "$levels/corridors.bst")" -eq 200 ] || fail "corridors.bst size"
grep -q "^1	1	Corridor 1	The team$" "$levels/corridors.idx" || fail "index without titles"
[ "$(grep -c '	Corridor ' "$levels/corridors.idx")" -eq 50 ] || fail "index lines"
python3 - "$work/app/game.var" <<'PY'
import sys
var = open(sys.argv[1], "rb").read()
# A file from the command line is not remembered as the set to open.
assert var[0] == 1, var[0]
PY

# Once more: the same set, not made again.
before=$(stat -c %Y.%i "$box")
sleep 1
run "$work/files/corridors.sok"
[ "$(stat -c %Y.%i "$box")" = "$before" ] || fail "the set was written again"
[ "$(ls "$levels" | grep -c '\.box$')" -eq 1 ] || fail "a second set: $(ls "$levels")"

# Levels 1 to 3 passed, a best count for level 2; then the file gains a
# level at its end.
python3 - "$levels/corridors.sav" "$levels/corridors.bst" <<'PY'
import struct, sys
sav = bytearray(open(sys.argv[1], "rb").read())
struct.pack_into("<h", sav, 0, 4)
open(sys.argv[1], "wb").write(sav)
bst = bytearray(open(sys.argv[2], "rb").read())
struct.pack_into("<hh", bst, 4, 17, 3)
open(sys.argv[2], "wb").write(bst)
PY
python3 "$here/make_collection.py" "$work/files/corridors.sok" 50 1
run "$work/files/corridors.sok"
[ "$(size "$box")" -eq $((51 * 750)) ] || fail "the set was not rebuilt"
python3 - "$levels/corridors.sav" "$levels/corridors.bst" <<'PY'
import struct, sys
sav = open(sys.argv[1], "rb").read()
assert struct.unpack_from("<h", sav, 0)[0] == 4, "progress lost"
bst = open(sys.argv[2], "rb").read()
assert len(bst) == 51 * 4, len(bst)
assert struct.unpack_from("<hh", bst, 4) == (17, 3), "best counts lost"
PY
[ -s "$work/shot.png" ] || fail "no picture of the window"
echo "ok"
