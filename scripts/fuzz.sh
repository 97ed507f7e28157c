#!/usr/bin/env bash
# Builds the fuzz targets of the game's file readers with clang's libFuzzer,
# address and undefined-behaviour checks into build/fuzz, and runs each one.
#   scripts/fuzz.sh [SECONDS_EACH [TARGET...]]      (default: 5 s, every target)
# Without clang (or without its fuzzing runtime) it says so and does nothing.
# A crash leaves the input in build/fuzz/crashes/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(level_set xsb settings answer_import midi convert solver_text collection)
fi

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; the fuzz targets are skipped"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
  > "$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  echo "fuzz: clang++ cannot link libFuzzer programs (no fuzzing runtime); skipped"
  exit 0
fi

build=build/fuzz
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
sanitize="-fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" \
  -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_C_FLAGS="$sanitize" \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DSOKOBAN_FUZZ=ON -DSOKOBAN_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_seeds "${targets[@]/#/fuzz_}" >/dev/null

dir=$build/tests/fuzz
mkdir -p "$build/crashes" "$build/logs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
passed=0
failed=0
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  mkdir -p "$corpus"
  log=$build/logs/$t.log
  if "$dir/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -artifact_prefix="$build/crashes/$t-" -print_final_stats=1 \
      "$corpus" "$dir/seeds/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz $t: ${runs:-?} inputs in ${seconds} s, no fault"
    passed=$((passed + 1))
  else
    echo "fuzz $t: FAILED - the end of $log:"
    tail -n 40 "$log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
