// Loading a song by its title into the current song.
#pragma once

#include <string>
#include <string_view>

#include "library/beeper.h"
#include "library/current_song.h"
#include "library/songbook.h"
#include "library/text_label.h"

namespace lyro {

// What the library dialog's status label says after every lookup.
inline constexpr std::string_view kSongFound = " ";
inline constexpr std::string_view kSongNotFound = "Song Not Found";

// A stored body line as a loaded song holds it: cleaned of rich-text words
// and cut to kSongLineMax characters. Views `stored` when nothing had to be
// cleaned, else `scratch`.
std::string_view song_line(std::string_view stored, std::string& scratch);

// Hands `take` every line of `song`'s body in order, as song_line gives it;
// each view lasts until `take` returns.
template <typename Take>
void for_each_song_line(const Songbook& book, SongSpan song, Take&& take) {
    std::string scratch;
    for (std::size_t i = song.header + 1; i < song.end; ++i) {
        const BookLine& line = book.lines()[i];
        if (line.visible()) take(song_line(line.text, scratch));
    }
}

// Replaces the current song with the song of song.title (folded here) from
// the songbook: line 0 a single blank, then the song's body lines as
// song_line gives them; the display lines are copied from them. A song that
// is not found (or a songbook that cannot be read) leaves line 0 alone,
// with "Song Not Found" on the status label. The beeper hears every cut a
// reader meets on its way to the song's end.
void load_current_song(const std::string& songbook_path, CurrentSong& song, TextLabel& status,
                       Beeper& beeper);

}  // namespace lyro
