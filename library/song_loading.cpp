// Loading a song by its folded title into the current song. Every load
// reads the songbook afresh: nothing is cached, so a saved edit is seen by
// the next load.
#include "library/song_loading.h"

#include <algorithm>

#include "library/title_ops.h"

namespace lyro {

namespace {

// Line 0 of every loaded song: a single blank.
void start_song(CurrentSong& song) {
    song.raw.assign(1, " ");
    song.line_count = 1;
    song.header_key.clear();
}

// Display line i becomes raw line i for every line in use; display lines
// beyond them keep their text, and there are never fewer than the slots
// the viewer counts on.
void copy_to_display(CurrentSong& song) {
    if (song.display.size() < std::max(kDisplaySlots, song.line_count)) {
        song.display.resize(std::max(kDisplaySlots, song.line_count));
    }
    std::copy_n(song.raw.begin(), song.line_count, song.display.begin());
}

}  // namespace

std::string_view song_line(std::string_view stored, std::string& scratch) {
    // Rich-text words all start with a backslash; most lines hold none.
    if (stored.find('\\') != std::string_view::npos) {
        scratch.assign(stored);
        strip_rtf_words(scratch);
        stored = scratch;
    }
    return stored.substr(0, kSongLineMax);
}

void load_current_song(const std::string& songbook_path, CurrentSong& song, TextLabel& status,
                       Beeper& beeper) {
    start_song(song);
    // The title is folded whether or not the songbook can be read, so that
    // what the viewer shows does not depend on why a song is missing.
    fold_title(song.title);
    const auto book = read_songbook(songbook_path);
    const auto found = book ? book->find(song.title) : std::nullopt;
    if (book) {
        for (std::size_t i = book->lookup_cuts(found); i > 0; --i) beeper.beep();
    }
    status.set_text(found ? kSongFound : kSongNotFound);
    if (found) {
        song.header_key.assign(header_key(book->lines()[found->header].text));
        for_each_song_line(*book, *found, [&song](std::string_view line) { song.raw.emplace_back(line); });
        song.line_count = song.raw.size();
    }
    copy_to_display(song);
}

}  // namespace lyro
