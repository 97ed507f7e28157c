#!/usr/bin/env bash
# Start-up time: process start to the first drawn level and out again, on the
# offscreen platform, in a copy of the program directory.
# Usage: bench/startup.sh [build/bin] [runs]
set -euo pipefail
bin=${1:-build/bin}
runs=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$bin"/. "$work"/
rm -f "$work"/game.var "$work"/*.sav "$work"/*.bst "$work"/*.sol
total=0
best=
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  QT_QPA_PLATFORM=offscreen SOKOBAN_QUIT_AFTER_START=1 "$work/sokoban" >/dev/null 2>&1
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  total=$((total + ms))
  if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "start-up to first level and exit: mean $((total / runs)) ms, best $best ms over $runs runs"
