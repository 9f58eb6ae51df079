#!/bin/bash
# Installs what is missing, builds songdesk and songserv, and starts both in
# the working folder ./songbook (made on first use; SONGBOOK_DIR names
# another): songserv natively, serving index.html on port 80 and the stage
# view on port 8080 (STAGEPORT in the profile names another), and songdesk
# under Wine. When songdesk ends, songserv is asked to stop, and stops.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD
scripts/packages.sh run
source scripts/build_dirs.sh
source scripts/windows_build.sh
jobs=$(nproc)

build() {  # build DIR TARGET [TOOLCHAIN]
    configure_once "$1" "${3:-}"
    cmake --build "$1" -j"$jobs" --target "$2" >/dev/null
}

choose_windows_build
if [[ $windows == win64 ]]; then
    echo "$windows_why: starting songdesk built for 64-bit Windows instead."
    build build/win64 songdesk cmake/mingw-x86_64.cmake
else
    build build/win32 songdesk cmake/mingw-i686.cmake
fi
desk=$root/build/$windows/ui/songdesk.exe
build build/native songserv
serv=$root/build/native/server/songserv

workdir=${SONGBOOK_DIR:-$root/songbook}
mkdir -p "$workdir"
cd "$workdir"
# Both programs meet in the profile of this Wine prefix.
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine} WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-$wine_overrides}

xvfb_pid=
serv_pid=
cleanup() {
    [[ -n $serv_pid ]] && kill "$serv_pid" 2>/dev/null
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    return 0
}
trap cleanup EXIT

display_kind=
if [[ -z ${DISPLAY:-} ]]; then
    start_virtual_display
    display_kind=bare
    echo "No X display is set (DISPLAY): songdesk runs on a virtual display ($DISPLAY)," \
         "and the remote page shows what it shows."
fi
prepare_wine_prefix "$wine_loader" $display_kind

# songserv's console goes to a log; the first lines tell whether it got the port.
log=$workdir/songserv.log
"$serv" >"$log" 2>&1 &
serv_pid=$!
for _ in $(seq 50); do
    grep -q "HTTP Server waiting on port 80" "$log" && break
    kill -0 "$serv_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$serv_pid" 2>/dev/null; then
    echo "songserv is serving $workdir/index.html on port 80 (log: $log)"
    # Where the band points its tablets, phones and the projector; or why
    # the stage view could not open (port 80 is served all the same).
    if grep -q '^Stage view: http' "$log"; then
        echo "The band opens the stage view in any browser on this network:"
        grep '^Stage view: http' "$log" | sed 's/^Stage view: /    /'
    fi
    grep '^Stage view: .*\(could not\|is not\)' "$log" >&2 || true
else
    wait "$serv_pid" || true
    serv_pid=
    cat "$log" >&2
    echo "songserv could not start, so tablets cannot follow along; songdesk starts all the same." >&2
    echo "Port 80 is taken by another program, or this user may not use ports below 1024." >&2
    echo "See \"When port 80 is taken\" in $root/README.md (who holds it: ss -ltnp 'sport = :80')." >&2
fi

echo "Starting songdesk in $workdir"
desk_status=0
"$wine_loader" "$desk" || desk_status=$?
if ((desk_status != 0)); then
    # Ended by a signal or a lost display, songdesk never asked the server
    # to stop: waiting for that would only delay the end.
    echo "songdesk ended with status $desk_status; ending songserv." >&2
    exit "$desk_status"
fi

if [[ -n $serv_pid ]]; then
    # songdesk asked the server to stop; it sees that after one more page.
    curl -s -o /dev/null --max-time 5 http://127.0.0.1/ || true
    for _ in $(seq 100); do
        kill -0 "$serv_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$serv_pid" 2>/dev/null; then
        echo "songserv did not stop when asked; ending it." >&2
        exit 1
    else
        status=0
        wait "$serv_pid" || status=$?
        serv_pid=
        echo "songserv stopped (status $status)."
        exit "$status"
    fi
fi
