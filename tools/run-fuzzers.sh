#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan+UBSan and runs each for $1 seconds
# (default 300). Crash inputs land in fuzz-out/; copy each into fuzz/regressions/<name>/ (name
# without "_fuzz"), where ctest replays it in every build from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
CUBWAVE_WITH_FUZZ=1 ./tools/install-deps.sh
seconds=${1:-300}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCUBWAVE_FUZZ=ON -DCUBWAVE_TESTS=OFF -DCUBWAVE_SANITIZE=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target $(cd fuzz && ls *_fuzz.cpp | sed 's/\.cpp$//')
mkdir -p fuzz-out
for f in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$f")
  mkdir -p "fuzz-out/$name/corpus"
  seeds=fuzz/corpus/${name%_fuzz}
  findings=fuzz/regressions/${name%_fuzz}
  ASAN_OPTIONS=detect_leaks=0 "$f" -max_total_time="$seconds" -artifact_prefix="fuzz-out/$name/" \
    "fuzz-out/$name/corpus" $( [ -d "$seeds" ] && echo "$seeds" ) $( [ -d "$findings" ] && echo "$findings" )
done
