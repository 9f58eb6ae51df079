// Rebuilding the current song's display lines from its raw lines for a key
// offset. A line that holds '<' is a chord line: every chord on it (by the
// chord rule of chord_rule.h) has its root and bass note moved by the
// offset and spelled from twelve note names, in the column where the old
// chord stood; every other word stays as written. Where a chord grows into
// what follows, the rest of the line moves right just far enough to keep
// one blank, so no chord is lost or cut. Lines without '<' are shown as
// stored. The work is done afresh from the raw lines each time, so offsets
// never accumulate.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "library/current_song.h"
#include "transpose/chord_rule.h"

namespace lyro {

// A chord line that grows past its end continues in blanks up to this
// column (or to the end of the last rewritten chord, if that lies further).
inline constexpr std::size_t kChordLineFill = 80;

// How notes are named: the fixed table of twelve names, or the names that
// the song's key (moved by the offset) uses: flats in F, Bb, Eb, Ab and Db,
// sharps in G, D, A, E, B and F#.
enum class Spelling { fixed, by_key };

// Rebuilds display lines 0 to line_count - 1 from the raw lines. Offsets
// from -12 to +12 are the ones in use; any other offset is taken modulo 12.
// Display lines at and beyond the line count are left as they are.
void transpose_song(CurrentSong& song, int key_offset, Spelling spelling = Spelling::fixed);

// The displayed form of one raw line, written into `display` (whose storage
// is reused, so a repaint allocates nothing once the lines are warm).
void transpose_line(std::string_view raw, int key_offset, std::string& display,
                    const NoteNames& names = kFixedNames);

// The song's key as a major key's pitch: the key its header names (a minor
// key by its relative major), else the root of its last chord (minor when
// that chord is; songs end at home); nullopt with neither.
std::optional<Pitch> song_key(const CurrentSong& song);

// The names of the notes in the major key `key`.
const NoteNames& key_names(Pitch key);

// The names that `spelling` gives a song at `key_offset`.
const NoteNames& names_for(const CurrentSong& song, int key_offset, Spelling spelling);

// A key name such as "G", "f#m" or "Bbmaj" moved by the offset, its root
// spelled from `names`; nullopt when `key` names no key (a root and at most
// a minor or major mark: "m", "min", "maj", "M").
std::optional<std::string> transpose_key(std::string_view key, int key_offset,
                                         const NoteNames& names = kFixedNames);

}  // namespace lyro
