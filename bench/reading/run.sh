#!/bin/bash
# Builds the reading benchmark in Release and prints its figures: the
# medians of the catalog scan and of loading the last song, each with its
# ratio to a plain scan of the same 2,000-song songbook. First the native
# build's, then the Windows build's under Wine: that is the songdesk users
# run, and a search that is quick natively can be slow there.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
echo "native build:"
"$root/bench/build_and_run.sh" reading

cd "$root"
source scripts/windows_build.sh
choose_windows_build
choose_windows_toolchain
wbuild="$root/build/bench-reading-$windows"
cmake --no-warn-unused-cli -S "$root" -B "$wbuild" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$wbuild" --target reading_bench -j2 >/dev/null
export WINEPREFIX="$wbuild/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="$wine_overrides"
mkdir -p "$WINEPREFIX"
"$wine_loader" wineboot -i >/dev/null 2>&1 || { echo "Wine could not set up $WINEPREFIX" >&2; exit 1; }
trap 'wineserver -k 2>/dev/null || true' EXIT
echo
echo "Windows build ($windows) under Wine:"
"$wine_loader" "$wbuild/bench/reading/reading_bench.exe"
