#!/usr/bin/env bash
# Sets up, builds and starts Cuewright, which prints the address to open in
# a browser. Extra arguments go to the program (see `--help`).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target cuewright
exec build/web/cuewright "$@"
