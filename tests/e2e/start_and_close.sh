#!/usr/bin/env bash
# The built game started in a fresh program directory on a level set given on
# the command line, closed again, and the files it left checked.
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/sets"
cp "$exe" "$work/app/sokoban"
# Two levels of 750 bytes: worker index 35, a small closed room.
python3 "$(dirname "$0")/make_box.py" "$work/sets/mine.box" "#####/#@$.#/#####" "#####/#@$.#/#####"
QT_QPA_PLATFORM=offscreen SOKOBAN_QUIT_AFTER_START=1 timeout 60 "$work/app/sokoban" "$work/sets/mine.box"

fail() { echo "FAIL: $*" >&2; exit 1; }
size() { stat -c %s "$1"; }
[ -f "$work/app/game.var" ] || fail "game.var missing"
[ "$(size "$work/app/game.var")" -eq 36 ] || fail "game.var is not 36 bytes"
[ ! -e "$work/app/game.tmp" ] || fail "game.tmp left behind"
[ "$(size "$work/sets/mine.sav")" -eq 4536 ] || fail "mine.sav size"
[ "$(size "$work/sets/mine.bst")" -eq 8 ] || fail "mine.bst size"
[ "$(size "$work/sets/mine.sol")" -eq 2058 ] || fail "mine.sol size"
# Progress record 0 unlocks level 1; every slot is empty (level 1, moves 1).
python3 - "$work/sets/mine.sav" "$work/app/game.var" <<'PY'
import struct, sys
sav = open(sys.argv[1], "rb").read()
for k in range(6):
    level, moves = struct.unpack_from("<hh", sav, k * 756)
    assert (level, moves) == (1, 1), (k, level, moves)
var = open(sys.argv[2], "rb").read()
# The stored choice stays the default set: a command-line set is not remembered.
assert var[0] == 1 and var[1] == 10 and var[8] == 6 and var[9] == 1, var[:10]
PY
echo "ok"
