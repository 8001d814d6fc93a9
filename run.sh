#!/usr/bin/env bash
# Installs what is missing, builds, seeds the working directory with the shipped files it does
# not have yet (never overwriting one), and starts Cubwave Log there.
#   ./run.sh [DIR]     DIR defaults to ~/Cubwave
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
workdir=${1:-$HOME/Cubwave}

"$here/tools/install-deps.sh"
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" -j "$(nproc 2>/dev/null || echo 2)" --target cubwave

mkdir -p "$workdir"
for f in "$here"/data/*; do
  name=$(basename "$f")
  [ -e "$workdir/$name" ] || cp "$f" "$workdir/$name"
done

cd "$workdir"
exec "$here/build/src/app/cubwave"
