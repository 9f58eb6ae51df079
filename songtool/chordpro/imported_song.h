// A song brought in from a song file, in the songbook's own form, or the
// reason it cannot come in.
#pragma once

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

namespace lyro {

struct ImportedSong {
    std::string title;               // Windows-1252, as the file gives it (or the fallback)
    std::string key;                 // "" when the file gives none
    std::vector<std::string> lines;  // the body as the song editor's text box would hold
                                     // it: no single-blank first line, no appended blanks
    std::size_t dropped = 0;         // comment lines and directives left out
    std::size_t replaced = 0;        // characters written as '?'
    std::size_t changed = 0;         // letters written as their plain letter (č as c)
    std::size_t blocks = 0;          // blocks of music notation or pictures left out
    bool chord_sheet = false;        // read as chords over lyrics, not as ChordPro
    bool no_chord_lines = false;     // a chord sheet in which no line is a chord line
};

struct ImportRefusal {
    std::size_t line = 0;  // 1-based line of the file; 0 for the song as a whole
    std::string reason;    // one short sentence for the report
    std::string title;     // the song's title when it is known, for the report
};

using ImportOutcome = std::variant<ImportedSong, ImportRefusal>;

// The longest title of a song that can be picked in the library: its song
// box hands on the first 49 characters of a title only.
inline constexpr std::size_t kImportTitleMax = 49;

// The song in the songbook's own form with CR LF line ends: the header
// "::::: <title> ::::: KEY=<key or xx>", then the body as the song editor
// writes it (a single-blank line, then each line with one blank appended).
std::string song_in_book_form(const ImportedSong& song);

}  // namespace lyro
