#!/bin/bash
# The Windows release as a user gets it: the zip that CPack makes holds
# songdesk.exe, songserv.exe, songtool.exe and README.txt (CR LF) in one
# folder; unpacked into a scratch folder, its songserv.exe starts under
# Wine from there, serves a page on port 80 and stops when the profile asks
# it to, and its songtool.exe imports a song.
# Arguments: the build folder, the wine-run wrapper, the songserv program
# test (which starts the program that SONGSERV_PROGRAM names).
set -euo pipefail
build=$1 wine_run=$2 program_test=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

(cd "$build" && cpack -G ZIP --config CPackConfig.cmake -B "$scratch/out" >/dev/null) ||
    fail "cpack could not make the release"
zips=("$scratch"/out/songbook-*-win*.zip)
[[ ${#zips[@]} -eq 1 && -f ${zips[0]} ]] || fail "no single release zip in $scratch/out"
zip=${zips[0]}
name=$(basename "$zip" .zip)
[[ $name =~ ^songbook-[0-9]+\.[0-9]+\.[0-9]+-win(32|64)$ ]] || fail "unexpected name $name"

mkdir "$scratch/unpacked"
(cd "$scratch/unpacked" && cmake -E tar xf "$zip") || fail "the zip does not unpack"
folder=$scratch/unpacked/$name
listing=$(cd "$folder" && ls)
[[ $listing == $'README.txt\nsongdesk.exe\nsongserv.exe\nsongtool.exe' ]] ||
    fail "the release folder holds: $listing"
grep -q $'^Getting started\r$' "$folder/README.txt" || fail "README.txt lacks its CR LF sections"
! grep -q '@SONGBOOK_VERSION@' "$folder/README.txt" || fail "README.txt names no version"

windows_path="Z:$(echo "$folder/songserv.exe" | tr / '\\')"
SONGSERV_PROGRAM=$windows_path "$wine_run" "$program_test" \
    --gtest_filter=SongservProgram.ServesPort80UntilTheProfileAsksItToStop ||
    fail "the unpacked songserv.exe did not serve its page"
mkdir "$scratch/songs"
printf '{title: Release Song}\r\n[G]Sing\r\n' >"$scratch/songs/song.cho"
(cd "$scratch/songs" && "$wine_run" "$folder/songtool.exe" import song.cho | grep -q '1 imported') ||
    fail "the unpacked songtool.exe did not import a song"
grep -q '^::::: Release Song ::::: KEY=xx' "$scratch/songs/songbook.lyr" ||
    fail "songtool.exe wrote no song into the songbook"
echo "2 passed, 0 failed"
