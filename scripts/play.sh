#!/usr/bin/env bash
# Set up, build and start the game. Extra arguments go to the game
# (a .box or .xsb file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/bin/sokoban "$@"
