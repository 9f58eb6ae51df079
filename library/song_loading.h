// Finding a song by its title and loading its lines into the current song.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "library/beeper.h"
#include "library/book_file.h"
#include "library/current_song.h"
#include "library/text_label.h"

namespace lyro {

// Folds `title` in place and reads `book` (open at its start) up to the first
// song header whose folded title equals it. Returns true with the file just
// after that header; false at the end marker or the end of the file. Writes
// " " or "Song Not Found" into the status label either way. When found,
// `key`, if given, takes what the header names after "KEY=".
bool find_song(BookFile& book, std::string& title, TextLabel& status, Beeper& beeper,
               std::string* key = nullptr);

// Whether `line` ends the song before it: it holds the end marker or a
// song header.
bool ends_song_body(std::string_view line);

// Whether `line` neither ends a song nor holds a rich-text word: then
// song_line only cuts it. Most lines are such lines, and one look tells.
bool plain_body_line(std::string_view line);

// A stored body line as a loaded song holds it: cleaned of rich-text words
// and cut to kSongLineMax characters. Views `stored` when nothing had to be
// cleaned, else `scratch`.
std::string_view song_line(std::string_view stored, std::string& scratch);

// Reads the body of the song whose header `book` has just read: every line
// up to the next header, the end marker or the end of the file, as
// song_line gives it, handed to `take` in order. Each view lasts until
// `take` returns.
void read_song_body(BookFile& book, Beeper& beeper,
                    const std::function<void(std::string_view)>& take);

// Replaces the current song with the song of song.title from the songbook:
// line 0 a single blank, then the song's body lines, each cleaned of
// rich-text words and cut to kSongLineMax characters; the display lines are
// copied from them. A song that is not found (or a songbook that cannot be
// read) leaves line 0 alone, with "Song Not Found" on the status label.
void load_current_song(const std::string& songbook_path, CurrentSong& song, TextLabel& status,
                       Beeper& beeper);

}  // namespace lyro
