#!/usr/bin/env bash
# Sets up, builds and starts Cuewright. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target cuewright-sim
exec build/sim/cuewright-sim "$@"
