#!/bin/bash
# The Windows tests' Wine wrapper against a stand-in for Wine's loader: it
# runs a test once more only when Wine itself failed, and says so.
set -uo pipefail
template=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# A loader that behaves as its first argument says, counting its runs:
# "crash-once" is killed by SIGSEGV on its first run, "client-once" loses
# the wineserver on its first run, "crash" always dies, "fail N" exits N.
cat > "$scratch/loader" <<'LOADER'
#!/bin/bash
runs=$(( $(cat "$RUNS" 2>/dev/null || echo 0) + 1 ))
echo "$runs" > "$RUNS"
echo "program output $runs"
case $1 in
    crash-once) (( runs == 1 )) && kill -SEGV $$; exit 0 ;;
    client-once) (( runs == 1 )) && { echo "wine client error:0: recvmsg: Connection reset by peer"; exit 1; }; exit 0 ;;
    crash) kill -SEGV $$ ;;
    fail) exit "$2" ;;
esac
LOADER
chmod +x "$scratch/loader"
sed -e "s|@LYRO_WINE_LOADER@|$scratch/loader|" -e "s|@WINE_PREFIX@|$scratch/prefix|" \
    -e 's|@LYRO_WINE_OVERRIDES@||' "$template" > "$scratch/wine-run"

expect() {  # expect CASE STATUS RUNS RETRY_SAID ARGS...
    local name=$1 want_status=$2 want_runs=$3 want_said=$4 status=0
    shift 4
    export RUNS=$scratch/$name.runs
    bash "$scratch/wine-run" "$@" >"$scratch/$name.out" 2>"$scratch/$name.err" || status=$?
    local runs said=no
    runs=$(cat "$RUNS")
    grep -q "Wine itself failed" "$scratch/$name.err" && said=yes
    if [[ $status != "$want_status" || $runs != "$want_runs" || $said != "$want_said" ]]; then
        echo "FAIL $name: status $status runs $runs retry said $said" \
             "(wanted $want_status, $want_runs, $want_said)"
        failures=$((failures + 1))
    fi
}

expect crashed-loader 0 2 yes crash-once
expect lost-wineserver 0 2 yes client-once
expect crashing-always 139 2 yes crash
expect program-failed 1 1 no fail 1
expect program-crashed 5 1 no fail 5
expect passed 0 1 no fail 0
# The first run's output stays in the log above the second run's.
grep -q "program output 1" "$scratch/crashed-loader.out" ||
    { echo "FAIL: the first run's output was dropped"; failures=$((failures + 1)); }
exit $((failures > 0))
