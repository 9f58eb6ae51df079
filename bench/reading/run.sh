#!/bin/bash
# Builds the reading benchmark in Release and prints its figures: the
# medians of the catalog scan and of loading the last song, each with its
# ratio to a plain scan of the same 2,000-song songbook.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/bench-reading"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target reading_bench -j2 >/dev/null
"$build/bench/reading/reading_bench"
