// A ChordPro song file turned into a song in the songbook's own form: a
// chord line above each lyric line that has chords, directives turned into
// the title, the key and lyric lines of their own, and everything that the
// songbook would read differently refused, with the file's line named.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lyro {

struct ImportedSong {
    std::string title;               // Windows-1252, as {title} gives it (or the fallback)
    std::string key;                 // from {key}; "" when the file gives none
    std::vector<std::string> lines;  // the body as the song editor's text box would hold
                                     // it: no single-blank first line, no appended blanks
    std::size_t dropped = 0;         // '#' comment lines and directives left out
    std::size_t replaced = 0;        // characters written as '?'
};

struct ImportRefusal {
    std::size_t line = 0;  // 1-based line of the ChordPro file; 0 for the file as a whole
    std::string reason;    // one short sentence for the report
};

using ImportOutcome = std::variant<ImportedSong, ImportRefusal>;

// The longest title of a song that can be picked in the library: its song
// box hands on the first 49 characters of a title only.
inline constexpr std::size_t kImportTitleMax = 49;

// `fallback_title`: the file name without its extension, the title of a
// file without {title}.
ImportOutcome import_chordpro(std::string_view file_bytes, std::string_view fallback_title);

// The song in the songbook's own form with CR LF line ends: the header
// "::::: <title> ::::: KEY=<key or xx>", then the body as the song editor
// writes it (a single-blank line, then each line with one blank appended).
std::string song_in_book_form(const ImportedSong& song);

}  // namespace lyro
