#!/bin/bash
# songtool on real files in a scratch folder: import (into a songbook with
# an end marker, and into none yet), export, check, usage errors and bad
# files; natively, 10,000 files in one import.
#
#   songtool_program_test.sh PROGRAM SONG_FILES_DIR [RUNNER]
set -uo pipefail
program=$1 files=$2 runner=${3:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
passed=0 failed=0

tool() { $runner "$program" "$@" >out.txt 2>err.txt; status=$?; }
# Each case runs in an empty folder of its own, in a subshell, so that where
# it ends up and what it leaves behind never reach the next case.
check() {  # check NAME COMMANDS...
    local name=$1; shift
    rm -rf work && mkdir work || exit 1
    if (cd work && "$@"); then passed=$((passed + 1)); echo "ok: $name"
    else failed=$((failed + 1)); echo "FAILED: $name"; cat work/out.txt work/err.txt 2>/dev/null; fi
}
said() { grep -qF -- "$1" out.txt err.txt || { echo "no '$1' in the output"; return 1; }; }
status_is() { [[ $status -eq $1 ]] || { echo "status $status, not $1"; return 1; }; }
same_bytes() { cmp -s "$1" "$2" || { echo "$1 and $2 differ"; return 1; }; }

songs=(morning_light still_waters cafe_noel blues_in_a old_hundredth)
fresh() { for s in "${songs[@]}"; do cp "$files/$s.cho" .; done; }

into_a_new_songbook() {
    fresh
    tool import "${songs[@]/%/.cho}"
    status_is 0 && said "5 imported, 0 skipped." && said "songbook.lyr created." &&
        for s in "${songs[@]}"; do cat "$files/$s.lyr"; done >expected.lyr &&
        same_bytes songbook.lyr expected.lyr && [[ ! -e temp.lyr ]]
}
check "import into no songbook: created, every song's exact bytes, status 0" into_a_new_songbook

before_the_end_marker() {
    fresh
    printf '::::: Old Hundredth ::::: KEY=xx\r\n \r\nx \r\n#*#*#\r\n::::: Hidden :::::\r\n' >songbook.lyr
    cp songbook.lyr original.lyr
    tool import morning_light.cho old_hundredth.cho
    status_is 1 && said 'imported "Morning Light" from morning_light.cho' &&
        said 'skipped old_hundredth.cho: a song titled "Old Hundredth" is already in the songbook' &&
        said "1 imported, 1 skipped." && same_bytes oldbook.lyr original.lyr &&
        { head -c 41 original.lyr; cat "$files/morning_light.lyr"; tail -c +42 original.lyr; } >expected.lyr &&
        same_bytes songbook.lyr expected.lyr
}
check "import before the end marker, a title already there skipped, oldbook kept, status 1" before_the_end_marker

export_and_back() {
    fresh
    tool import "${songs[@]/%/.cho}" && tool export out
    status_is 0 && said "5 songs written to out." && [[ -f "out/Morning Light.cho" ]] &&
        grep -q "{title: Morning Light}" "out/Morning Light.cho" &&
        mkdir again && cd again && tool import ../out/*.cho && status_is 0 &&
        said 'imported "Morning Light" from ../out/Morning Light.cho' &&
        cat "$files"/{blues_in_a,cafe_noel,morning_light,old_hundredth,still_waters}.lyr >expected.lyr &&
        same_bytes songbook.lyr expected.lyr
}
check "export writes a .cho per song; imported again, every song has the same bytes" export_and_back

checks() {
    printf '::::: A :::::\r\n  A B<\r\n::::: a :::::\r\n#*#*#\r\n::::: Z :::::\r\n' >songbook.lyr
    tool check
    status_is 1 && ! said "chords one blank apart" &&
        said 'line 3: "a" is a second song of the title of line 1' &&
        said 'line 5: "Z" stands after the end marker' && said "2 traps found." &&
        printf '::::: A :::::\r\n  A  B<\r\n' >songbook.lyr && tool check && status_is 0 &&
        said "No traps found"
}
check "check lists each trap with its line (status 1), and none in a clean songbook (status 0)" checks

usage() {
    local ok=0
    local wrong=("" "import" "export" "check --book")
    # On Windows, names alone are files dropped on the program (below).
    [[ -z $runner ]] && wrong+=("frobnicate")
    for args in "${wrong[@]}"; do
        # shellcheck disable=SC2086
        tool $args
        status_is 2 && said "usage: songtool" || ok=1
    done
    [[ ! -e songbook.lyr ]] || ok=1
    return $ok
}
check "usage errors: status 2 and the usage, no songbook made" usage

dropped() {
    tool nothere.cho
    status_is 1 && said "skipped nothere.cho: it cannot be read" &&
        said "Press Enter to close this window."
}
[[ -n $runner ]] && check "file names alone on Windows: imported as dropped files, then Enter" dropped

bad_files() {
    fresh
    head -c 3000 "$program" >binary.cho
    : >empty.cho
    head -c 200000 /dev/zero | tr '\0' 'x' >huge.cho
    printf '[G\n]\n{title\n' >brackets.cho
    printf '{title}\n{key}\n[C]la\n' >noarg.cho
    tool import binary.cho empty.cho huge.cho brackets.cho noarg.cho nothere.cho
    status_is 1 && said "skipped binary.cho" && said "skipped empty.cho" && said "skipped huge.cho" &&
        said 'imported "brackets"' && said 'imported "noarg"' && said "skipped nothere.cho: it cannot be read" &&
        said "2 imported, 4 skipped."
}
check "binary, empty, huge, unbalanced and missing files: each imported or skipped with a reason" bad_files

a_library() {
    cp "$files"/{hymn_collection,showcase,czech}.cho .
    printf 'Abide With Me\r\n\r\nVerse 1\r\nG        D     G\r\nAbide with me\r\n' >abide.txt
    printf '<?xml version="1.0"?>\n<song><title>X</title></song>\n' >opensong.xml
    tool import hymn_collection.cho abide.txt showcase.cho czech.cho opensong.xml
    status_is 1 && said 'imported "Come Thou Fount" from hymn_collection.cho, song 1 of 3' &&
        said 'imported "Be Thou My Vision" from hymn_collection.cho, song 2 of 3' &&
        said 'imported "hymn_collection 3" from hymn_collection.cho, song 3 of 3' &&
        said 'imported "Abide With Me" from abide.txt (a chord sheet)' &&
        said '; 3 blocks of music notation or pictures left out' &&
        said '; 3 letters written as their plain letter; 1 character written as "?"' &&
        said 'skipped opensong.xml: an XML song file; this format cannot be imported yet' &&
        said "6 imported, 1 skipped." &&
        { cat "$files/hymn_collection.lyr"
          printf '::::: Abide With Me ::::: KEY=xx\r\n \r\nVerse 1 \r\nG        D     G< \r\nAbide with me \r\n'
          cat "$files/showcase.lyr" "$files/czech.lyr"; } >expected.lyr &&
        same_bytes songbook.lyr expected.lyr
}
check "a library: every song of a collection, a chord sheet, each reported; an XML file skipped" a_library

hostile_library() {
    printf '::::: Old :::::\r\nx\r\n#*#*#\r\n' >songbook.lyr
    printf 'G  C  D  Em\nAm7  D/F#  G\n' >chords_only.txt
    for i in $(seq 1 500); do printf '{new_song}\n'; done >empty_songs.cho
    for i in $(seq 1 500); do printf '{ns}\n{t: S%d}\n[G]la\n' "$i"; done >many_songs.cho
    printf '{t: Open}\n[G]<span never closed\n{transpose: 40}\n[C]la\n' >open.cho
    : >zero.txt
    head -c 3000 "$program" >binary.txt
    tool import chords_only.txt empty_songs.cho many_songs.cho open.cho zero.txt binary.txt
    status_is 1 && said 'imported "chords_only" from chords_only.txt (a chord sheet)' &&
        said "skipped empty_songs.cho: it holds no lyric or chord lines" &&
        said 'imported "S500" from many_songs.cho, song 500 of 500' &&
        said 'imported "Open" from open.cho' && said "skipped zero.txt" && said "skipped binary.txt" &&
        said "502 imported, 3 skipped." && [[ $(grep -c ':::::' songbook.lyr) -eq 503 ]] &&
        grep -q '^E< ' songbook.lyr && tail -c 7 songbook.lyr | cmp -s - <(printf '#*#*#\r\n') &&
        [[ ! -e temp.lyr ]]
}
check "chord names alone, 500 empty songs, 500 songs, open markup, transpose 40, empty, binary" hostile_library

many_files() {
    mkdir many
    for i in $(seq 1 10000); do printf '{title: Song %d}\n[G]la [C]la %d\n' "$i" "$i" >"many/$i.cho"; done
    tool import many/*.cho
    status_is 0 && said "10000 imported, 0 skipped." && [[ $(grep -c ':::::' songbook.lyr) -eq 10000 ]]
}
# A Windows command line holds at most 32,767 characters: natively only.
[[ -z $runner ]] && check "10,000 files in one import: one songbook with all of them" many_files

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
