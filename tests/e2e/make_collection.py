#!/usr/bin/env python3
"""Writes a collection of N distinct small levels in the forms other programs
use: titles after the rows, a comment line, run lengths, "-" for floor, CR LF.
Level 1 is a corridor solved by two steps right."""
import sys


def level(n):
    # A corridor of k cells between the worker and the box, m rows of floor
    # below it; every n gives another level.
    k, m = (n - 1) % 25 + 1, (n - 1) // 25
    wall = "#" * (k + 5)
    rows = [wall, "#@" + "-" * k + "$.#"] + ["#" + " " * (k + 3) + "#"] * m + [wall]
    if n % 3 == 0:  # run lengths for some
        rows[0] = rows[-1] = "%d#" % (k + 5)
    return rows


def main():
    path, count = sys.argv[1], int(sys.argv[2])
    extra = sys.argv[3:] and int(sys.argv[3]) or 0
    out = ["; a collection made for the tests", ""]
    for n in list(range(1, count + 1)) + ([100 + extra] if extra else []):
        out += ["; %d" % n] + level(n) + ["Title: Corridor %d" % n, "Author: The team", ""]
    with open(path, "wb") as f:
        f.write(("\r\n".join(out) + "\r\n").encode("utf-8"))


main()
