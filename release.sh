#!/bin/bash
# Makes the Windows release, build/win32/release/songbook-<version>-win32.zip:
# songdesk.exe, songserv.exe and README.txt for Windows users.
set -euo pipefail
cd "$(dirname "$0")"
scripts/packages.sh run
dir=build/win32
[[ -f $dir/CMakeCache.txt ]] ||
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$dir" -j"$(nproc)" --target songdesk songserv >/dev/null
(cd "$dir" && cpack -G ZIP --config CPackConfig.cmake >/dev/null)
ls "$PWD/$dir"/release/songbook-*-win32.zip
