// Finding a song by its title and loading its lines into the current song.
#pragma once

#include <functional>
#include <string>

#include "library/beeper.h"
#include "library/book_file.h"
#include "library/current_song.h"
#include "library/text_label.h"

namespace lyro {

// Folds `title` in place and reads `book` (open at its start) up to the first
// song header whose folded title equals it. Returns true with the file just
// after that header; false at the end marker or the end of the file. Writes
// " " or "Song Not Found" into the status label either way.
bool find_song(BookFile& book, std::string& title, TextLabel& status, Beeper& beeper);

// Reads the body of the song whose header `book` has just read: every line
// up to the next header, the end marker or the end of the file, cleaned of
// rich-text words and cut to kSongLineMax characters, handed to `take` in
// order. The viewer's load and the songbook printout read songs with it.
void read_song_body(BookFile& book, Beeper& beeper, const std::function<void(std::string&)>& take);

// Replaces the current song with the song of song.title from the songbook:
// line 0 a single blank, then the song's body lines, each cleaned of
// rich-text words and cut to kSongLineMax characters; the display lines are
// copied from them. A song that is not found (or a songbook that cannot be
// read) leaves line 0 alone, with "Song Not Found" on the status label.
void load_current_song(const std::string& songbook_path, CurrentSong& song, TextLabel& status,
                       Beeper& beeper);

}  // namespace lyro
