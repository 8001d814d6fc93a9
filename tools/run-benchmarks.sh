#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them all (or those matching $1).
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh --tests
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DCUBWAVE_BENCH=ON -DCUBWAVE_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"
for b in build-bench/bench/*_bench; do
  QT_QPA_PLATFORM=offscreen "$b" --benchmark_filter="${1:-.}"
done
