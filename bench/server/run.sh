#!/bin/bash
# Measures songserv, the real program on port 80, beside nginx (one worker)
# serving the same page on 127.0.0.1, in two ways:
# - wrk opening a new connection for every request, at 1, 8 and 64
#   connections: requests per second, median and 99th-percentile latency,
#   failed requests, and the ratios songserv/nginx;
# - the room: 30 tablets each fetching every 4 s, their arrivals spread
#   over the 4 s (bench/server/room_client.cpp), first alone, then beside
#   3 clients that connect and send nothing, then beside 200 such idle
#   connections held open: failed fetches, median and 99th percentile, and
#   the ratios. ROOM_SECONDS sets each room run's length (default 30).
# Everything runs on this machine; both servers are stopped at the end.
#
# songserv's console echo of every response goes to a file in the scratch
# folder (deleted at the end unless KEEP=1), as a user's redirection would.
#
# Failed requests: wrk counts a request only when its response arrived
# whole (status line, headers, and as many body bytes as Content-length).
# songserv closes each connection after its answer without saying
# "Connection: close", so wrk, expecting to reuse the connection, records
# one read (or write) error for every connection, including those whose
# answer arrived whole. Every connection ends in exactly one such error, so
#   songserv: failed = connect + read + write + timeout + non-2xx - requests
#   nginx:    failed = connect + read + write + timeout + non-2xx
# (nginx answers wrk's "Connection: close" and closes without an error).
# Connections still open when a run ends are in neither count.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
here="$root/bench/server"
build="$root/build/bench-server"
duration=${DURATION:-5}
room_seconds=${ROOM_SECONDS:-30}
nginx_port=18480

if ! command -v wrk >/dev/null || ! command -v nginx >/dev/null; then
    echo "installing wrk and nginx-light from Debian..."
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q wrk nginx-light >/dev/null 2>&1 ||
        { apt-get update -q >/dev/null && apt-get install -y -q wrk nginx-light >/dev/null; }
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target songserv room_client -j2 >/dev/null
songserv="$build/server/songserv"
room_client="$build/bench/server/room_client"

if curl -s -o /dev/null --max-time 1 http://127.0.0.1:80/; then
    echo "port 80 is in use on this machine: stop that server first" >&2
    exit 1
fi

work=$(mktemp -d /tmp/songserv-bench.XXXXXX)
chmod 755 "$work"   # nginx's worker reads the page as an unprivileged user
serv_pid="" nginx_pid=""
cleanup() {
    [ -n "$serv_pid" ] && kill "$serv_pid" 2>/dev/null || true
    [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    [ "${KEEP:-0}" = 1 ] || rm -rf "$work"
}
trap cleanup EXIT

# A song page of the size songdesk writes for a hymn of four verses.
mkdir -p "$work/www" "$work/nginx"
{
    printf '<HTML>\r\n<HEAD>\r\n<TITLE>Songbook Server</TITLE>'
    printf '<META http-equiv="refresh" content="4">\r\n</HEAD><BODY BGCOLOR ="FFFFFF">\r\n'
    printf '<FONT SIZE=5><pre>\r\n<B>AMAZING GRACE</B>\r\n'
    for verse in 1 2 3 4; do
        printf 'G          C        G\r\nAmazing grace, how sweet the sound\r\n'
        printf 'G                  D\r\nThat saved a wretch like me\r\n'
        printf 'G            C        G\r\nI once was lost, but now am found\r\n'
        printf 'Em       D      G\r\nWas blind, but now I see\r\n\r\n'
    done
    printf '</pre></BODY></HTML>\r\n'
} > "$work/www/index.html"
cp "$work/www/index.html" "$work/index.html"
page_size=$(stat -c %s "$work/index.html")
full_status=$((page_size + 62 + ${#page_size}))

# songserv in the scratch folder, with a Wine prefix of its own as profile.
console="$work/songserv-console.txt"
(cd "$work" && WINEPREFIX="$work/prefix" exec "$songserv" >"$console" 2>"$work/songserv-errors.txt") &
serv_pid=$!

cat > "$work/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
    access_log off;
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    types { text/html html; }
    server {
        listen 127.0.0.1:$nginx_port;
        root $work/www;
        index index.html;
    }
}
CONF
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" &
nginx_pid=$!

for _ in $(seq 100); do
    curl -s -o /dev/null --max-time 1 http://127.0.0.1:80/ &&
        curl -s -o /dev/null --max-time 1 "http://127.0.0.1:$nginx_port/" && break
    sleep 0.1
done

# run_wrk URL CONNECTIONS: prints "requests duration_us p50_us p99_us
# connect read write status timeout".
run_wrk() {
    local threads=$(( $2 < 2 ? 1 : 2 ))
    wrk -t"$threads" -c"$2" -d"${duration}s" --timeout 5s -H "Connection: close" \
        -s "$here/report.lua" "$1" | awk '/^RESULT/ { $1 = ""; print }'
}

declare -A result
for c in 1 8 64; do
    result[serv,$c]=$(run_wrk "http://127.0.0.1:80/" "$c")
    result[nginx,$c]=$(run_wrk "http://127.0.0.1:$nginx_port/" "$c")
done

# run_room PORT IDLE: prints "fetches failed p50_us p99_us max_us reopened".
run_room() {
    "$room_client" "$1" "$room_seconds" "$2" | awk '/^RESULT/ { $1 = ""; print }'
}
for idle in 0 3 200; do
    result[room_serv,$idle]=$(run_room 80 "$idle")
    result[room_nginx,$idle]=$(run_room "$nginx_port" "$idle")
done

# Stop songserv the way songdesk does: TERMINATE=1, then one more request.
ini="$work/prefix/drive_c/windows/win.ini"
sed 's/^TERMINATE=0/TERMINATE=1/' "$ini" > "$ini.new" && mv "$ini.new" "$ini"
curl -s -o /dev/null --max-time 2 http://127.0.0.1:80/ || true
for _ in $(seq 50); do kill -0 "$serv_pid" 2>/dev/null || break; sleep 0.1; done
serv_status=stopped
if kill -0 "$serv_pid" 2>/dev/null; then serv_status="did not stop: killed"; fi
wait "$serv_pid" 2>/dev/null || true
serv_pid=""

echo "songserv (real program, port 80) vs nginx $(nginx -v 2>&1 | sed 's/.*nginx\///') (1 worker);" \
     "wrk, new connection per request, ${duration} s per run; page $page_size bytes"
echo "machine: $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-5s | %-34s | %-34s | %s\n' "conns" "songserv: req/s  p50 ms  p99 ms  failed" \
       "nginx: req/s  p50 ms  p99 ms  failed" "ratio req/s  ratio p99"
for c in 1 8 64; do
    read -r s_req s_dur s_p50 s_p99 s_con s_rd s_wr s_st s_to <<<"${result[serv,$c]}"
    read -r n_req n_dur n_p50 n_p99 n_con n_rd n_wr n_st n_to <<<"${result[nginx,$c]}"
    s_failed=$((s_con + s_rd + s_wr + s_to + s_st - s_req))
    (( s_failed < 0 )) && s_failed=0
    n_failed=$((n_con + n_rd + n_wr + n_to + n_st))
    awk -v c="$c" -v sr="$s_req" -v sd="$s_dur" -v s50="$s_p50" -v s99="$s_p99" -v sf="$s_failed" \
        -v nr="$n_req" -v nd="$n_dur" -v n50="$n_p50" -v n99="$n_p99" -v nf="$n_failed" 'BEGIN {
        srps = sr / (sd / 1e6); nrps = nr / (nd / 1e6)
        printf "%-5d | %14.0f %7.3f %7.3f %7d | %11.0f %7.3f %7.3f %7d | %11.2f %10.2f\n",
            c, srps, s50 / 1000, s99 / 1000, sf, nrps, n50 / 1000, n99 / 1000, nf,
            srps / nrps, (n99 > 0 ? s99 / n99 : 0) }'
    echo "        wrk counts, songserv: requests $s_req, errors connect $s_con read $s_rd write $s_wr status $s_st timeout $s_to"
done
served=$(grep -c '^STATUS:' "$console" || true)
short=$(grep '^STATUS:' "$console" | grep -vc "^STATUS:$full_status\$" || true)
echo "songserv's console (to $console, $(du -m "$console" | cut -f1) MB): $served connections served," \
     "$short answers not sent whole; songserv $serv_status"
echo "wrk targets: 0 failed at every level; at 1 connection req/s ratio >= 0.8; at 64, p99 ratio <= 3"
echo
echo "the room: 30 tablets, one fetch each every 4 s on a new connection, ${room_seconds} s per run"
printf '%-5s | %-37s | %-37s | %s\n' "idle" "songserv: fetches failed p50 ms p99 ms" \
       "nginx: fetches failed p50 ms p99 ms" "ratio p50  ratio p99"
for idle in 0 3 200; do
    read -r s_n s_f s_50 s_99 s_max s_re <<<"${result[room_serv,$idle]}"
    read -r n_n n_f n_50 n_99 n_max n_re <<<"${result[room_nginx,$idle]}"
    awk -v i="$idle" -v sn="$s_n" -v sf="$s_f" -v s50="$s_50" -v s99="$s_99" \
        -v nn="$n_n" -v nf="$n_f" -v n50="$n_50" -v n99="$n_99" 'BEGIN {
        printf "%-5d | %15d %6d %6.2f %6.2f | %12d %6d %6.2f %6.2f | %9.2f %10.2f\n",
            i, sn, sf, s50 / 1000, s99 / 1000, nn, nf, n50 / 1000, n99 / 1000,
            (n50 > 0 ? s50 / n50 : 0), (n99 > 0 ? s99 / n99 : 0) }'
    awk -v s="$s_max" -v n="$n_max" -v sr="$s_re" -v nr="$n_re" 'BEGIN {
        printf "        slowest fetch: songserv %.2f ms, nginx %.2f ms; idle connections opened again" \
               " after the server closed them: songserv %d, nginx %d\n", s / 1000, n / 1000, sr, nr }'
done
echo "room targets: 0 failed; each p99 at most 3 x nginx's"
