#!/usr/bin/env bash
# Builds and runs every benchmark under bench/ in an optimised build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQAV_BUILD_BENCH=ON
cmake --build build-bench -j2
for b in build-bench/bench/*/bench_*; do
  [ -x "$b" ] || continue
  echo "== $b"
  "$b"
done
