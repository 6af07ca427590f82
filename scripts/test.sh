#!/usr/bin/env bash
# Set-up, build and the whole test suite; with --sanitize, the same on an AddressSanitizer and
# UndefinedBehaviorSanitizer build (without benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh

if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQAV_SANITIZE=ON -DQAV_BUILD_BENCH=OFF
  export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
  dir=build
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$dir" -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j2 --timeout 300
