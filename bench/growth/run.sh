#!/bin/bash
# Builds the growth benchmark in Release and prints its table: the catalog
# scan, the load of the last song, the save of the middle song and the
# songbook printout at 1,000, 4,000 and 16,000 songs, beside a plain scan.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build/bench-growth"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target growth_bench -j2 >/dev/null
"$build/bench/growth/growth_bench"
