// The songbook's songs as the readers see them, with the physical line of
// the file that each of their lines stands on: what songtool's import,
// export and check work from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "library/songbook.h"

namespace lyro {

// One line as the reader delivers it (CRs dropped, comments never), and
// the 1-based physical line of the file it comes from. The reader cuts a
// physical line of more than 990 characters into several.
struct ReadLine {
    std::size_t number = 0;
    std::string text;
    bool continued = false;  // the next ReadLine goes on with this physical line
};

struct BookSong {
    std::size_t header_line = 0;    // physical line of its header
    std::string header;             // the header line as read
    std::string title;              // as the header gives it, trailing blanks cut
    std::vector<ReadLine> body;     // as the reader delivers it
    bool after_end_marker = false;  // never listed, never found
};

struct BookSongs {
    std::vector<BookSong> songs;       // in file order
    std::size_t end_marker_line = 0;   // the first end marker's physical line; 0: none
    // Where a song added for the catalog to see goes: the start of the end
    // marker's physical line, or the end of the readable text (before any
    // Ctrl-Z).
    std::size_t insert_at = 0;
};

BookSongs find_book_songs(const Songbook& book);
BookSongs find_book_songs(std::string_view book_bytes);

// A song's body lines with the reader's cuts joined again: whole physical
// lines, as they were written.
std::vector<std::string> whole_lines(const std::vector<ReadLine>& body);

}  // namespace lyro
