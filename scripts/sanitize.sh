#!/usr/bin/env bash
# Builds the program and its tests with the address and undefined-behaviour
# checks into build/sanitize and runs every test there. Any report of either
# fails the test it came from.
#   scripts/sanitize.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/sanitize
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
checks="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$checks" -DCMAKE_C_FLAGS="$checks" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DCMAKE_MODULE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DSOKOBAN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
# Leaks the libraries below the game keep until exit (fonts, the desktop's
# services) are not the game's; see sanitize.supp.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/sanitize.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$build"
# The install and package checks read the dynamic loader's own account of
# the installed game, which the checks' runtime changes; the plain build
# runs them.
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" -E '^(install_layout|package_deb)$' "$@"
