#!/bin/bash
# The set-up script against stand-ins for dpkg, dpkg-query, apt-get, id and
# sudo, so that every path runs without touching the machine: nothing
# missing, something missing, no network, apt locked, not root without sudo.
set -uo pipefail
script=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
bin=$scratch/bin
mkdir "$bin"
passed=0 failed=0

# dpkg-query answers from $scratch/installed; apt-get logs its calls and, in
# the mode that $STUB_APT names, installs, finds no network or a lock.
cat > "$bin/dpkg-query" <<'STUB'
#!/bin/bash
grep -qx -- "${@: -1}" "$STUB_DIR/installed" && printf 'ii ' && exit 0
exit 1
STUB
cat > "$bin/dpkg" <<'STUB'
#!/bin/bash
echo "dpkg $*" >> "$STUB_DIR/calls"
[[ $1 == --print-foreign-architectures ]] && cat "$STUB_DIR/arches" 2>/dev/null
[[ $1 == --add-architecture ]] && echo "$2" >> "$STUB_DIR/arches"
exit 0
STUB
cat > "$bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $*" >> "$STUB_DIR/calls"
case $STUB_APT in
    nonet) [[ " $* " == *" update "* ]] && { echo "W: Failed to fetch http://archive/dists/InRelease  Temporary failure resolving 'archive'"; exit 100; }
           [[ " $* " == *" install "* ]] && { echo "E: Unable to locate package chromium"; exit 100; } ;;
    no32) [[ " $* " == *" install "* && " $* " == *" wine32:i386 "* ]] && { echo "E: Unable to correct problems, you have held broken packages."; exit 100; } ;;
    syncing) [[ " $* " == *" update "* ]] && { echo "E: Failed to fetch http://archive/i386/Packages.xz  File has unexpected size (1 != 2). Mirror sync in progress?"; exit 100; } ;;
    locked) echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 4242 (apt-get)"; exit 100 ;;
esac
if [[ " $* " == *" install "* ]]; then
    for p in "$@"; do [[ $p == -* || $p == install || $p == DPkg* ]] || echo "$p" >> "$STUB_DIR/installed"; done
fi
exit 0
STUB
cat > "$bin/id" <<'STUB'
#!/bin/bash
echo "${STUB_UID:-0}"
STUB
chmod +x "$bin"/*
# Only the ordinary tools beside the stand-ins: no sudo, no real apt.
sys=$scratch/sys
mkdir "$sys"
for tool in bash grep sed tail mktemp rm cat cp sleep; do ln -s "$(command -v "$tool")" "$sys/$tool"; done

# run NAME EXPECTED_STATUS: runs the script in a fresh stand-in machine
# that has every package of `test` but those in $MISSING.
run() {
    local expected=$2
    rm -f "$scratch/calls" "$scratch/arches"
    "$script" --list test | grep -vxF -f <(printf '%s\n' ${MISSING:-none}) > "$scratch/installed"
    STUB_DIR=$scratch SONGBOOK_APT_RETRY_WAIT=0 PATH=$bin:$sys "$script" test > "$scratch/out" 2>&1
    status=$?
    touch "$scratch/calls"
    [[ $status -eq $expected ]] || { echo "status $status, not $expected"; return 1; }
}
check() {  # check NAME COMMANDS...
    local name=$1; shift
    if "$@"; then passed=$((passed + 1)); echo "ok: $name"
    else failed=$((failed + 1)); echo "FAILED: $name"; cat "$scratch/out"; fi
}
said() { grep -qF -- "$1" "$scratch/out" || { echo "no '$1' in the output"; return 1; }; }
called() { grep -qF -- "$1" "$scratch/calls" || { echo "no call '$1'"; return 1; }; }
not_called() { ! grep -qF -- "$1" "$scratch/calls" || { echo "unexpected call '$1'"; return 1; }; }

nothing_missing() {
    MISSING= STUB_APT=ok run x 0 && [[ ! -s $scratch/out && ! -s $scratch/calls ]]
}
check "nothing missing: installs nothing and asks apt nothing" nothing_missing

only_missing() {
    MISSING="chromium wine32:i386" STUB_APT=ok run x 0 &&
        called "dpkg --add-architecture i386" &&
        [[ $(grep -c " update" "$scratch/calls") -eq 1 ]] &&
        grep -q "install wine32:i386 chromium$" "$scratch/calls" &&
        said "Installed: wine32:i386 chromium"
}
check "something missing: adds i386, updates once, installs only what is missing" only_missing

no_network() {
    MISSING="chromium" STUB_APT=nonet run x 1 &&
        [[ $(grep -c " update" "$scratch/calls") -eq 3 ]] &&
        said "could not be reached" && said "Still missing: chromium"
}
check "no network: tries the update three times, says so and names what is still missing" no_network

mirror_syncing() {
    MISSING="chromium" STUB_APT=syncing run x 0 && called "install chromium" &&
        said "did not get every package index" && said "Installed: chromium"
}
check "an index fails while its mirror syncs: installs from the others" mirror_syncing

no_wine32() {
    MISSING="chromium wine32:i386" STUB_APT=no32 run x 0 && called "install chromium" &&
        said "the Windows programs will run as their 64-bit build" && said "Installed: chromium"
}
check "32-bit Wine cannot be installed: installs the rest and says the 64-bit build stands in" no_wine32

locked() {
    MISSING="cmake" STUB_APT=locked run x 1 && said "apt is in use by another program" &&
        said "Still missing: cmake"
}
check "apt locked: says so and names what is still missing" locked

no_root() {
    MISSING="cmake" STUB_APT=ok STUB_UID=1000 run x 1 && [[ ! -s $scratch/calls ]] &&
        said "needs root" && said "apt-get install cmake"
}
check "not root and no sudo: says what it needs and installs nothing" no_root

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
