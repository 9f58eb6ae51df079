#!/bin/bash
# Builds benchmark NAME (bench/NAME/NAME_bench.cpp) in Release, in a build
# folder of its own, and runs it: what each benchmark's run.sh does.
#
#   bench/build_and_run.sh NAME
set -euo pipefail
name=${1:?usage: bench/build_and_run.sh NAME}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/bench-$name"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target "${name}_bench" -j2 >/dev/null
"$build/bench/$name/${name}_bench"
