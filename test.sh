#!/bin/bash
# Installs what is missing, builds the configurations and runs every test:
# natively; natively again under AddressSanitizer and UndefinedBehaviorSanitizer,
# with every fuzz target run briefly over its seeds; and the Windows build
# under Wine, in the build folder's own Wine prefix, with a virtual X display
# of its own.
set -euo pipefail
cd "$(dirname "$0")"
scripts/packages.sh test
source scripts/build_dirs.sh
source scripts/windows_build.sh
jobs=$(nproc)

build() {  # build DIR [TOOLCHAIN]
    configure_once "$@"
    cmake --build "$1" -j"$jobs"
}

build build/native
build build/sanitize cmake/clang-sanitize.cmake
build build/win32 cmake/mingw-i686.cmake
choose_windows_build
if [[ $windows == win64 ]]; then
    echo "$windows_why: running the Windows tests of the 64-bit build under wine64" \
         "(the 32-bit build is compiled above)."
    build build/win64 cmake/mingw-x86_64.cmake
fi

# One ctest run over every build, so the summary at the end counts them all.
printf 'subdirs("native")\nsubdirs("sanitize")\nsubdirs("%s")\n' "$windows" > build/CTestTestfile.cmake
# Any sanitizer report fails the test it comes from, leaks included.
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1

export WINEPREFIX="$PWD/build/$windows/wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="$wine_overrides"
start_virtual_display
cleanup() { wineserver -k 2>/dev/null || true; kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
# One persistent wineserver for the whole run, and the prefix made before
# the first test, so that no test pays for Wine's start-up.
# (One already running for this prefix, from an earlier run, serves as well.)
wineserver -p 2>/dev/null || true
prepare_wine_prefix "$wine_loader" bare
# The viewer's resolution tests set the test prefix's screen resolution for
# one program at a time; one that was stopped half-way left it changed.
"$wine_loader" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true

# Every test runs once: a fault that shows only sometimes must fail the run,
# not pass on a second try.
# The display's two slots: see lyro_add_test in cmake/testing.cmake.
printf '{"version":{"major":1,"minor":0},"local":[{"display":[{"id":"xvfb","slots":2}]}]}\n' \
    > build/display_slots.json
ctest --test-dir build --output-on-failure -j"$jobs" \
    --resource-spec-file "$PWD/build/display_slots.json"
