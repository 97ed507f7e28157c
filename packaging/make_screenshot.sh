#!/usr/bin/env bash
# Takes the picture of the game's main window that the metainfo shows: the
# built game on the offscreen platform, started in a scratch program directory
# that holds the default level set only, with a fresh home, so the picture is
# the first level as a new player sees it.
#   make_screenshot.sh GAME GAME_BOX OUT.png
set -euo pipefail
game=$1 box=$2 out=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/app" "$work/home"
cp "$game" "$work/app/sokoban"
cp "$box" "$work/app/game.box"
rm -f "$out"
HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share" XDG_CONFIG_HOME="$work/home/.config" \
  XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=offscreen SOKOBAN_SCREENSHOT="$work/shot.png" \
  timeout 120 "$work/app/sokoban" >"$work/log" 2>&1 ||
  { echo "make_screenshot: the game failed: $(cat "$work/log")" >&2; exit 1; }
[ -s "$work/shot.png" ] || { echo "make_screenshot: the game saved no picture" >&2; exit 1; }
mv "$work/shot.png" "$out"
