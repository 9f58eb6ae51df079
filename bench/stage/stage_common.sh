# Sourced by the stage benchmark's scripts: the profile songserv reads, a
# free port, and starting and stopping the real songserv.
#
# Port 80 is fixed and shared with every other test on this machine: the
# caller holds the lock /tmp/port80.lock (on descriptor 9) for as long as
# its songserv lives, and the programs it starts do not inherit that
# descriptor, so the lock ends with the script that took it.

port80_lock=/tmp/port80.lock

# set_profile INI KEY VALUE: sets KEY in the [LYROVANT] section, keeping the
# rest, and puts the new file in place in one step (songserv and songdesk
# read it at any time).
set_profile() {
    local ini=$1 key=$2 value=$3
    mkdir -p "$(dirname "$ini")"
    [[ -f $ini ]] || : > "$ini"
    awk -v key="$key" -v value="$value" '
        { sub(/\r$/, "") }
        /^[ \t]*\[/ {
            if (in_section && !done) { print key "=" value "\r"; done = 1 }
            in_section = (toupper($0) ~ /^[ \t]*\[LYROVANT\]/)
            if (in_section) had_section = 1
        }
        in_section && !done && toupper($0) ~ ("^[ \t]*" toupper(key) "[ \t]*=") {
            print key "=" value "\r"; done = 1; next
        }
        { print $0 "\r" }
        END {
            if (!done) {
                if (!had_section) print "[LYROVANT]\r"
                print key "=" value "\r"
            }
        }' "$ini" > "$ini.new"
    mv "$ini.new" "$ini"
}

# A port that nothing listens on now (the system's choice).
free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

port80_answers() { curl -s -o /dev/null --max-time 1 http://127.0.0.1:80/; }

# start_songserv PROGRAM FOLDER PREFIX STAGEPORT LOG: starts songserv in
# FOLDER with the profile of PREFIX and waits until its stage port answers;
# sets serv_pid. Fails when port 80 stays taken for two minutes (a server
# started without the lock) or songserv does not answer within 15 s.
start_songserv() {
    local program=$1 folder=$2 prefix=$3 port=$4 log=$5
    for _ in $(seq 120); do port80_answers || break; sleep 1; done
    if port80_answers; then
        echo "port 80 is in use on this machine: stop that server first" >&2
        return 1
    fi
    local ini=$prefix/drive_c/windows/win.ini
    set_profile "$ini" STAGEPORT "$port"
    set_profile "$ini" TERMINATE 0
    [[ -f $folder/index.html ]] || printf '<html><body>songbook</body></html>\r\n' > "$folder/index.html"
    (cd "$folder" && WINEPREFIX=$prefix exec "$program" > "$log" 2>&1 9>&-) &
    serv_pid=$!
    for _ in $(seq 150); do
        curl -s -o /dev/null --max-time 1 "http://127.0.0.1:$port/" && port80_answers && return 0
        kill -0 "$serv_pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "songserv did not answer on ports 80 and $port; it said:" >&2
    cat "$log" >&2
    return 1
}

# stop_songserv PREFIX: asks songserv (serv_pid) to stop as songdesk does,
# TERMINATE=1 and one request on port 80, and waits 10 s before killing it.
# Sets serv_stopped to how it ended.
stop_songserv() {
    local ini=$1/drive_c/windows/win.ini
    [[ -n ${serv_pid:-} ]] || return 0
    set_profile "$ini" TERMINATE 1
    curl -s -o /dev/null --max-time 2 http://127.0.0.1:80/ || true
    for _ in $(seq 100); do
        kill -0 "$serv_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$serv_pid" 2>/dev/null; then
        kill -KILL "$serv_pid" 2>/dev/null || true
        wait "$serv_pid" 2>/dev/null || true
        serv_stopped="did not stop within 10 s of TERMINATE=1: killed"
    else
        local status=0
        wait "$serv_pid" || status=$?
        serv_stopped="stopped when asked, status $status"
    fi
    serv_pid=
}
