#!/bin/bash
# Builds songdesk and songserv and starts both in the working folder
# ./songbook (made on first use; SONGBOOK_DIR names another). songserv
# serves index.html on port 80 until songdesk ends.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
jobs=$(nproc)

build() {  # build DIR TOOLCHAIN
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=Release ${2:+-DCMAKE_TOOLCHAIN_FILE=$2} >/dev/null
    cmake --build "$1" -j"$jobs" --target songdesk songserv
}

# The programs are 32-bit Windows programs; where this machine cannot run
# 32-bit code at all, the same sources built for 64-bit Windows stand in.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    build build/win32 cmake/mingw-i686.cmake
    desk=$root/build/win32/ui/songdesk.exe loader=wine
else
    echo "32-bit programs cannot run on this machine: starting the 64-bit build."
    build build/win64 cmake/mingw-x86_64.cmake
    desk=$root/build/win64/ui/songdesk.exe loader=/usr/lib/wine/wine64
fi
build build/native ""
serv=$root/build/native/server/songserv

workdir=${SONGBOOK_DIR:-$root/songbook}
mkdir -p "$workdir"
cd "$workdir"
# Both programs meet in the profile of this Wine prefix.
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine} WINEDEBUG=${WINEDEBUG:--all}

"$serv" > "$workdir/songserv.log" 2>&1 &
serv_pid=$!
echo "songserv is serving $workdir/index.html on port 80 (log: $workdir/songserv.log)"
"$loader" "$desk" || true
# songdesk asked the server to stop; it does so after serving one more page.
curl -s -o /dev/null --max-time 2 http://127.0.0.1/ 2>/dev/null || true
wait "$serv_pid" 2>/dev/null || true
