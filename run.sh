#!/usr/bin/env bash
# Installs what is missing, builds the harvester and starts it with the given arguments.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh run
cmake -S . -B build/run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLW_BUILD_TESTS=OFF \
  -DLW_BUILD_BENCH=OFF >/dev/null
ninja -C build/run harvester >/dev/null
exec build/run/bin/harvester "$@"
