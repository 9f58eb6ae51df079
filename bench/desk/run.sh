#!/bin/bash
# The library dialog with a big songbook, on the real songdesk under Wine:
# how long from opening the dialog, from returning from the viewer and from
# Save Update in the editor until the song box holds the whole catalog
# (bench/desk/desk_fill.cpp drives the windows). Songbooks of 500, 3,000
# and 16,000 songs of 40 lines, and 20,000 songs with titles of 99
# characters and duplicates. Prints the median of REPEATS runs (default 3)
# of each figure and its ratio to the 500-song case.
#
# Builds songdesk and desk_fill in Release for Windows in
# build/bench-desk-win32 (build/bench-desk-win64 where 32-bit Wine cannot
# run); Wine runs in that folder's own prefix on a virtual display of its
# own. SONGDESK=path/to/songdesk.exe measures another build of songdesk
# (an older one, say) with the same driver; CASES="500 plain;3000 plain"
# runs only those cases (the first is the base of the ratios). KEEP=1 keeps
# the scratch folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
repeats=${REPEATS:-3}
cd "$root"
source scripts/windows_build.sh

choose_windows_build
choose_windows_toolchain
wbuild="$root/build/bench-desk-$windows"
cmake --no-warn-unused-cli -S "$root" -B "$wbuild" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$wbuild" --target songdesk desk_fill -j2 >/dev/null
desk=${SONGDESK:-$wbuild/ui/songdesk.exe}
driver="$wbuild/bench/desk/desk_fill.exe"

export WINEPREFIX="$wbuild/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="$wine_overrides"
work=$(mktemp -d /tmp/desk-fill.XXXXXX)
xvfb_pid= wine_up=
cleanup() {
    set +e
    [[ -n $wine_up ]] && wineserver -k 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    [[ ${KEEP:-0} == 1 ]] || rm -rf "$work"
    return 0
}
trap cleanup EXIT

start_virtual_display
wine_up=1
prepare_wine_prefix "$wine_loader" bare
# One Wine server for the whole run, so that no case pays for its start.
wineserver -p 2>/dev/null || true
desk_w=$("$wine_loader" winepath -w "$desk" 2>/dev/null)

echo "library dialog: ms until the song box holds the whole catalog (median of $repeats)"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
results="$work/results.txt"
: > "$results"
IFS=';' read -r -a cases <<< "${CASES:-500 plain;3000 plain;16000 plain;20000 long}"
for case in "${cases[@]}"; do
    read -r songs kind <<< "$case"
    folder="$work/book-$songs-$kind"
    mkdir -p "$folder"
    folder_w=$("$wine_loader" winepath -w "$folder" 2>/dev/null)
    # Before this work a 16,000-song fill took over a minute, and a case
    # runs 3 fills a repeat and one at the start.
    if ! timeout -k 5 3600 "$wine_loader" "$driver" "$desk_w" "$folder_w" "$songs" "$kind" \
            "$repeats" > "$work/out-$songs.txt" 2>&1; then
        echo "the case of $songs songs ($kind) failed: $(tr -d '\r' < "$work/out-$songs.txt")" >&2
        continue
    fi
    tr -d '\r' < "$work/out-$songs.txt" | awk '/^RESULT/ { $1 = ""; print }' >> "$results"
done

awk 'NR == 1 && $1 == 500 { o = $3; v = $4; s = $5 }
     {
         printf "%6d songs %-5s | open %7.0f ms (x%5.1f) | viewer %7.0f ms (x%5.1f) |" \
                " save %7.0f ms (x%5.1f) | first fill at start %7.0f ms | titles: %s\n",
             $1, $2, $3, o ? $3 / o : 0, $4, v ? $4 / v : 0, $5, s ? $5 / s : 0, $6, $7
     }' "$results"
echo "open: Close Box, then Song&list; viewer: Cancel in the viewer; save: Save Update in the editor."
echo "ratios (x) to the 500-song case; titles: every title of the songbook found in the box."
echo "targets: 3,000 songs within 1000 ms, 16,000 within 3000 ms, each figure;" \
     "20,000 long titles open within 4000 ms with nothing lost"
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
