#!/bin/bash
# The README's run command as a user starts it, on the build's own Wine
# prefix and this test's virtual display: run.sh builds nothing new (the
# suite has built it all), starts songserv and songdesk in a scratch
# working folder, songserv answers on port 80, songdesk shows its library;
# songdesk is then closed as a user closes it, and run.sh ends both in
# order: songdesk writes TERMINATE=1, one request, songserv stops, exit 0.
# With "port-taken", another server holds port 80 first: songserv's
# "Unable to bind" line and the advice reach the user, and songdesk starts
# all the same. With "desk-killed", songdesk is killed instead of closed:
# it never asks songserv to stop, and run.sh ends songserv at once, saying
# so, with songdesk's status.
# Arguments: the source folder, the Windows build folder, close_songdesk.exe,
# and "in-order", "port-taken" or "desk-killed".
set -uo pipefail
source_dir=$1 build=$2 closer=$3 mode=$4
scratch=$(mktemp -d)
run_pid=
blocker_pid=
finish() {
    [[ -n $run_pid ]] && kill "$run_pid" 2>/dev/null
    [[ -n $blocker_pid ]] && kill "$blocker_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap finish EXIT
fail() {
    echo "FAILED: $*" >&2
    echo "--- run.sh said:" >&2; cat "$scratch/run.log" >&2
    echo "--- songserv.log:" >&2; cat "$scratch/book/songserv.log" >&2 2>/dev/null
    exit 1
}

answers() { curl -s -o /dev/null --max-time 1 http://127.0.0.1/; }
# Waits up to TENTHS tenths of a second for run.sh to end; its exit status
# in $status, or FAILED with WHY.
wait_for_run() {  # wait_for_run TENTHS WHY
    for _ in $(seq "$1"); do
        kill -0 "$run_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$run_pid" 2>/dev/null && fail "$2"
    wait "$run_pid"
    status=$?
    run_pid=
}

mkdir "$scratch/book"
printf '::::: AMAZING GRACE :::::\r\n \r\nG   C<\r\nAmazing grace\r\n' > "$scratch/book/songbook.lyr"
if [[ $mode == port-taken ]]; then
    # Another web server holds the port (Node.js, which the tests have).
    node -e "require('http').createServer((q, s) => s.end('another server'))
                 .listen(80, '0.0.0.0')" >/dev/null 2>&1 &
    blocker_pid=$!
    for _ in $(seq 100); do answers && break; sleep 0.1; done
fi
export WINEPREFIX=$build/wineprefix SONGBOOK_DIR=$scratch/book
"$source_dir/run.sh" >"$scratch/run.log" 2>&1 &
run_pid=$!

served=
for _ in $(seq 600); do
    if answers; then served=1; break; fi
    kill -0 "$run_pid" 2>/dev/null || break
    sleep 0.1
done
[[ -n $served ]] || fail "nothing answered on port 80"

if [[ $mode == desk-killed ]]; then
    # Once songdesk's first window is up, it is killed, as a crash or a lost
    # display ends it (the prefix's Wine server stays: other tests use it).
    # run.sh must not wait the ten seconds it gives a server asked to stop.
    "$build/wine-run" "$closer" --wait-only || fail "songdesk's first window was not up"
    # The songdesk that this run.sh started: its child, found by its id.
    desk_pid=$(pgrep -P "$run_pid" -f '[/\\]songdesk[.]exe' | head -n 1)
    [[ -n $desk_pid ]] || fail "no songdesk process of this run.sh to kill"
    kill -KILL "$desk_pid"
    wait_for_run 50 "run.sh did not end soon after songdesk was killed"
    [[ $status -ne 0 ]] || fail "run.sh ended with status 0 after songdesk was killed"
    grep -q "songdesk ended with status $status; ending songserv." "$scratch/run.log" ||
        fail "run.sh did not say that songdesk ended and that songserv is ended"
    for _ in $(seq 20); do answers || break; sleep 0.1; done
    answers && fail "songserv still answers after run.sh ended"
    cat "$scratch/run.log"
    echo "1 passed, 0 failed"
    exit 0
fi
"$build/wine-run" "$closer" || fail "songdesk's first window was not up, or it did not end"
wait_for_run 300 "run.sh did not end after songdesk had ended"
[[ $status -eq 0 ]] || fail "run.sh ended with status $status"
grep -q "Starting songdesk" "$scratch/run.log" || fail "songdesk was not started"
if [[ $mode == port-taken ]]; then
    grep -q "^Unable to bind: " "$scratch/run.log" || fail "songserv's Unable to bind line is not shown"
    grep -q 'When port 80 is taken' "$scratch/run.log" || fail "the README's advice is not named"
else
    grep -q "songserv stopped (status 0)" "$scratch/run.log" || fail "songserv did not stop in order"
    # Where the band opens the stage view, or (its port taken on this
    # machine) why there is none.
    grep -qE '^    http://[0-9.]+:[0-9]+/$|^Stage view: port [0-9]+ could not be opened' \
        "$scratch/run.log" || fail "run.sh does not say where the stage view is"
    grep -q "HTTP Server waiting on port 80" "$scratch/book/songserv.log" ||
        fail "songserv's console shows no serving"
    grep -qi "^RUNNING=0" "$WINEPREFIX/drive_c/windows/win.ini" || fail "RUNNING is not 0 at the end"
fi
cat "$scratch/run.log"
echo "1 passed, 0 failed"
