#!/bin/bash
# Installs the Debian packages that the README's commands need and that are
# missing: `packages.sh run` for building and starting the programs,
# `packages.sh test` for that and every test as well. When everything is
# there it installs nothing and asks nothing of apt. It is the one place
# that lists the packages.
set -uo pipefail

# Building both programs and starting them: the native compiler for
# songserv, the MinGW-w64 cross compilers for the Windows programs (64-bit
# too, for machines that cannot execute 32-bit code), Wine, a virtual
# display for machines without one, curl for the request that stops songserv,
# the JSON library (headers only) of the stage view, the Unicode Character
# Database that songtool's letter table is built from, and the fixed-pitch
# face that stands in for Courier New under Wine.
run_packages=(
    cmake make g++ nlohmann-json3-dev unicode-data
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine wine32:i386 wine64 fonts-liberation
    xvfb xauth curl
)
# The tests: GoogleTest (Debian ships its sources, which the cross builds
# compile), a real browser for the remote page and the stage view, Node.js
# with npm for the stage page's tests and their browser driver, and clang
# with its sanitizer and libFuzzer runtimes for the sanitizer build.
test_packages=(
    googletest libgtest-dev
    chromium nodejs npm
    clang libclang-rt-dev
)

usage() {
    echo "usage: $0 [--list] run|test" >&2
    exit 2
}

wanted() {
    case ${1:-} in
        run) printf '%s\n' "${run_packages[@]}" ;;
        test) printf '%s\n' "${run_packages[@]}" "${test_packages[@]}" ;;
        *) usage ;;
    esac
}

is_installed() {
    [[ $(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null) == ii* ]] && return 0
    # Node.js packages from outside Debian's archive bring npm with them.
    [[ $1 == npm && -x /usr/bin/npm ]]
}

missing_of() {
    local p
    for p in "$@"; do is_installed "$p" || echo "$p"; done
}

# --list run|test prints the packages and does nothing else.
if [[ ${1:-} == --list ]]; then
    wanted "${2:-}"
    exit 0
fi

mapfile -t all < <(wanted "${1:-}")
mapfile -t missing < <(missing_of "${all[@]}")
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing the Debian packages that are missing: ${missing[*]}"

# As root the commands run as they are; otherwise through sudo, when it is
# there and allowed to.
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null 2>&1; then
        as_root=(sudo)
    else
        echo "These Debian packages are needed and missing: ${missing[*]}" >&2
        echo "Installing them needs root: run this again as root, install sudo," >&2
        echo "or install them yourself (as root):" >&2
        echo "  dpkg --add-architecture i386 && apt-get update && apt-get install ${missing[*]}" >&2
        exit 1
    fi
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Says what failed, what apt said, and which packages are still missing, so
# that nothing is left half-installed without a word.
fail() {
    echo "Could not install the packages ($1)." >&2
    if grep -qiE 'could not get lock|unable to acquire|is held by process' "$log"; then
        echo "apt is in use by another program (another apt-get, or an automatic update):" \
             "wait until it has finished, then try again." >&2
    elif grep -qiE 'temporary failure resolving|could not resolve|failed to fetch|unable to fetch|unable to connect|network is unreachable' "$log"; then
        echo "The package archive could not be reached: check the network connection and" \
             "the sources in /etc/apt, then try again." >&2
    fi
    echo "What apt said last:" >&2
    tail -n 8 "$log" | sed 's/^/  /' >&2
    mapfile -t still < <(missing_of "${all[@]}")
    echo "Still missing: ${still[*]:-none}" >&2
    exit 1
}

export DEBIAN_FRONTEND=noninteractive
# Wait a little for a lock that another apt holds, but not for ever.
lock_wait=(-o DPkg::Lock::Timeout="${SONGBOOK_APT_LOCK_WAIT:-60}")

if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
   ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386 >"$log" 2>&1 || fail "dpkg --add-architecture i386"
fi
# An index that fails to download while its mirror syncs ("File has
# unexpected size") fails the update, though the other indexes came: try
# again a few times, then install from what did come. Only a lock, or an
# install that cannot be done, ends the set-up.
update_log=$(mktemp)
trap 'rm -f "$log" "$update_log"' EXIT
updated=no
for attempt in 1 2 3; do
    if "${as_root[@]}" apt-get "${lock_wait[@]}" -q --error-on=any update >"$update_log" 2>&1; then
        updated=yes
        break
    fi
    cp "$update_log" "$log"
    grep -qiE 'could not get lock|unable to acquire|is held by process' "$log" && fail "apt-get update"
    [[ $attempt -lt 3 ]] && sleep "${SONGBOOK_APT_RETRY_WAIT:-10}"
done
[[ $updated == yes ]] ||
    echo "apt-get update did not get every package index; installing from those it has."
install() {
    "${as_root[@]}" apt-get "${lock_wait[@]}" -q -y --no-install-recommends install "$@" \
        >"$log" 2>&1
}
# 32-bit Wine needs the 32-bit twins of the system's libraries at exactly
# their versions; when the archive cannot give them (an index of theirs
# missing, say), the rest is installed, and the Windows programs are tested
# and run as their 64-bit build under wine64, as on machines that cannot
# execute 32-bit code.
but_wine32() { local p; for p in "$@"; do [[ $p == wine32:i386 ]] || echo "$p"; done; }
mapfile -t without_wine32 < <(but_wine32 "${missing[@]}")
if ! install "${missing[@]}"; then
    if [[ ${#without_wine32[@]} -lt ${#missing[@]} ]] &&
       { [[ ${#without_wine32[@]} -eq 0 ]] || install "${without_wine32[@]}"; }; then
        echo "32-bit Wine (wine32:i386) could not be installed; the Windows programs will" \
             "run as their 64-bit build under wine64. Run this again later to add it."
        mapfile -t all < <(but_wine32 "${all[@]}")
        missing=("${without_wine32[@]}")
    else
        # The update's complaint says more about why than the install's.
        [[ $updated == yes ]] || cat "$update_log" >>"$log"
        fail "apt-get install"
    fi
fi
mapfile -t still < <(missing_of "${all[@]}")
[[ ${#still[@]} -eq 0 ]] || fail "apt-get finished, but these are not installed: ${still[*]}"
[[ ${#missing[@]} -eq 0 ]] || echo "Installed: ${missing[*]}"
