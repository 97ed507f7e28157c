#!/usr/bin/env bash
# `cmake --install` of the build into a fresh prefix, checked as a player's
# installed game; and the build's own program directory holds the game only.
#   install_and_check.sh BUILD_DIR
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

progs=$(find "$build/bin" -maxdepth 1 -type f -perm -u+x -printf '%f\n' | sort | tr '\n' ' ')
[ "$progs" = "sokoban sokoban-solve " ] || fail "build/bin holds other programs: $progs"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix with blank" >"$work/log" 2>&1 ||
  fail "cmake --install: $(cat "$work/log")"
bash "$here/../../packaging/check_installed.sh" "$work/prefix with blank"
