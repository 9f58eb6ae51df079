#!/bin/bash
# Makes the Windows release, build/win32/release/songbook-<version>-win32.zip:
# songdesk.exe, songserv.exe, songtool.exe and README.txt for Windows users.
set -euo pipefail
cd "$(dirname "$0")"
scripts/packages.sh run
source scripts/build_dirs.sh
dir=build/win32
configure_once "$dir" cmake/mingw-i686.cmake
cmake --build "$dir" -j"$(nproc)" --target songdesk songserv songtool >/dev/null
(cd "$dir" && cpack -G ZIP --config CPackConfig.cmake >/dev/null)
ls "$PWD/$dir"/release/songbook-*-win32.zip
