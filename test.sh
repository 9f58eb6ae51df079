#!/bin/bash
# Installs what is missing, builds both configurations and runs every test:
# natively, and the Windows build under Wine, in the build folder's own Wine
# prefix, with a virtual X display of its own.
set -euo pipefail
cd "$(dirname "$0")"
scripts/packages.sh test
source scripts/windows_build.sh
jobs=$(nproc)

configure() {  # configure DIR [cmake args...]
    local dir=$1; shift
    [[ -f $dir/CMakeCache.txt ]] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

configure build/native
configure build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
choose_windows_build
if [[ $windows == win64 ]]; then
    echo "$windows_why: running the Windows tests of the 64-bit build under wine64" \
         "(the 32-bit build is compiled above)."
    configure build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
fi

# One ctest run over both builds, so the summary at the end counts them all.
printf 'subdirs("native")\nsubdirs("%s")\n' "$windows" > build/CTestTestfile.cmake

export WINEPREFIX="$PWD/build/$windows/wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="$wine_overrides"
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
cleanup() { wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
# One persistent wineserver for the whole run, and the prefix made before
# the first test, so that no test pays for Wine's start-up.
# (One already running for this prefix, from an earlier run, serves as well.)
wineserver -p 2>/dev/null || true
prepare_wine_prefix "$wine_loader" bare

# A test whose Wine server connection broke (seen once, on a machine's very
# first Wine run: "wine client error: recvmsg") is run once more; its first
# failure stays in the output above.
ctest --test-dir build --output-on-failure -j"$jobs" --repeat until-pass:2
