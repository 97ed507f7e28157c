"""Writes a level set of 750-byte records: make_box.py OUT LEVEL..., each
LEVEL its rows in XSB letters joined by "/" (e.g. "#####/#@$.#/#####")."""
import struct
import sys

CODES = {"#": 1, "@": 2, " ": 2, "$": 4, ".": 3}


def level(rows):
    cells = bytearray(748)
    man = 0
    for r, line in enumerate(rows.split("/")):
        for c, ch in enumerate(line):
            i = r * 34 + c
            cells[i] = CODES[ch]
            if ch == "@":
                man = i
    return struct.pack("<h", man) + bytes(cells)


with open(sys.argv[1], "wb") as out:
    for rows in sys.argv[2:]:
        out.write(level(rows))
