#!/bin/bash
# Builds the saving benchmark in Release and prints its figures: the median
# of one save of a song in the middle of a 2,000-song songbook with its
# ratio to a plain copy of the file, and the median of transposing a
# 200-line song of chord lines at every key offset.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/bench-saving"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target saving_bench -j2 >/dev/null
"$build/bench/saving/saving_bench"
