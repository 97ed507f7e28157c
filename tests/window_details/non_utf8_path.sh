#!/usr/bin/env bash
# A level set whose file name is not valid UTF-8, named on the command line:
# the game opens it by its bytes, plays it and writes the set's companion
# files beside it under the same bytes.
set -euo pipefail
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/app" "$work/home" "$work/xdg"
cp "$exe" "$work/app/sokoban"
# Latin-1 "é" (one byte 0xe9) and a stray 0xff: no UTF-8 decoder keeps them.
name=$(printf 'niv\xe9au\xff')
python3 - "$work/$name.box" <<'PY'
import struct, sys
rows = ["#####", "#@$.#", "#####"]
cells = bytearray(748)
man = 0
for r, line in enumerate(rows):
    for c, ch in enumerate(line):
        cells[r * 34 + c] = {"#": 1, "@": 2, "$": 4, ".": 3}[ch]
        if ch == "@":
            man = r * 34 + c
level = struct.pack("<h", man) + bytes(cells)
open(sys.argv[1].encode("utf-8", "surrogateescape"), "wb").write(level + level)
PY

run() {
    HOME="$work/home" XDG_DATA_HOME="$work/xdg" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 \
        SOKOBAN_KEYS=R SOKOBAN_QUIT_AFTER_START=1 \
        timeout 60 "$work/app/sokoban" "$@"
}

# The set: opened, the level solved by one push, the progress kept beside it.
run "$work/$name.box"
[ -f "$work/$name.sav" ] || fail "the set was not opened: $(ls "$work")"
python3 - "$work/$name.sav" "$work/$name.sol" <<'PY'
import struct, sys
sav = open(sys.argv[1].encode("utf-8", "surrogateescape"), "rb").read()
level, = struct.unpack_from("<h", sav, 0)
assert level == 2, ("level 2 not unlocked", level)
sol = open(sys.argv[2].encode("utf-8", "surrogateescape"), "rb").read()
level, moves = struct.unpack_from("<hh", sol, 0)
assert (level, moves) == (1, 1), ("answer not stored", level, moves)
PY

echo "ok"
