#!/usr/bin/env bash
# Builds the document fuzzers with clang-14 and runs each for a bounded time.
#
#   fuzz/run.sh [seconds-per-target]
#
# Seconds default to 60 (or $FUZZ_SECONDS). The build goes to $FUZZ_BUILD_DIR
# (default: a folder under $TMPDIR). New inputs found are kept in the build
# folder; the committed seeds in fuzz/corpus/ are only read. Exits non-zero
# if any target finds a crash, leak or hang; the input is saved as
# <build>/artifacts/<target>-crash-*.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
seconds="${1:-${FUZZ_SECONDS:-60}}"
build="${FUZZ_BUILD_DIR:-${TMPDIR:-/tmp}/cuewright-fuzz}"
compiler="${FUZZ_CXX:-clang++-14}"

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$compiler"
cmake --build "$build" -j 2

mkdir -p "$build/artifacts"
failed=()
for target in txt rtf docx docx_xml doc; do
    work="$build/corpus/$target"
    mkdir -p "$work"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$build/artifacts/$target-")
    if [[ -f "$here/dict/$target.dict" ]]; then
        options+=(-dict="$here/dict/$target.dict")
    fi
    echo "== $target fuzzer, ${seconds}s"
    if ! "$build/${target}_fuzzer" "${options[@]}" "$work" "$here/corpus/$target"; then
        failed+=("$target")
    fi
done

if ((${#failed[@]} > 0)); then
    echo "Fuzzers that failed: ${failed[*]}" >&2
    exit 1
fi
echo "All document fuzzers ran ${seconds}s without failures."
