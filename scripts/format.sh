#!/usr/bin/env bash
# Formats the C++ sources with .clang-format, or with --check only reports
# the files that differ and fails when there is one.
#   scripts/format.sh [--check] [FILE...]
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
if [[ ${1:-} == --check ]]; then
  check=1
  shift
fi
if (($#)); then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi
if ! command -v clang-format >/dev/null 2>&1; then
  echo "format: clang-format is not installed" >&2
  exit 1
fi
if ((check)); then
  clang-format --dry-run --Werror "${files[@]}"
  echo "format: ${#files[@]} files as .clang-format has them"
else
  clang-format -i "${files[@]}"
fi
