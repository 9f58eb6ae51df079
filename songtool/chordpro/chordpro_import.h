// ChordPro song files turned into songs in the songbook's own form: a chord
// line above each lyric line that has chords; directives turned into the
// title, the key and lyric lines of their own ({capo}, comments, section
// labels, a {chorus} repeated in full); markup removed; blocks of music
// notation and pictures left out; every song of a collection ({new_song})
// a song of its own.
#pragma once

#include <string_view>
#include <vector>

#include "songtool/chordpro/imported_song.h"
#include "songtool/chordpro/text_decoding.h"

namespace lyro {

// The songs of a decoded ChordPro file, in file order. `fallback_title`
// (Windows-1252): the title of a song without {title}; in a file of several
// songs the second untitled song gets " 2" after it, and so on.
std::vector<ImportOutcome> import_chordpro_songs(const Cp1252Text& text,
                                                 std::string_view fallback_title);

// A file of one song: its bytes decoded, and the first song (or the
// refusal of a file without one).
ImportOutcome import_chordpro(std::string_view file_bytes, std::string_view fallback_title);

}  // namespace lyro
