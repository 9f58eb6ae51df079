#!/bin/bash
# Builds the printing benchmark in Release and prints its figures: the
# median time of the songbook printout of a full 1,000-entry catalog, and
# its ratio to one plain scan of the songbook.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/bench-printing"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target printing_bench -j2 >/dev/null
"$build/bench/printing/printing_bench"
