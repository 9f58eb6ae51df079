// Finding a song by its folded title and loading its body into the current
// song. Every lookup reads the songbook from its top: nothing is cached, so
// a saved edit is seen by the next load.
#include "library/song_loading.h"

#include <algorithm>

#include "library/byte_scan.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

// Only a line that holds ':' or '#' can hold a header or the end marker;
// one quick look passes over the many lines that hold neither.
bool may_end_or_start_song(std::string_view line) {
    return find_either(line.data(), line.size(), ':', '#') != line.size();
}

constexpr std::string_view kFound = " ";
constexpr std::string_view kNotFound = "Song Not Found";

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

bool ends_song_body(std::string_view line) {
    return may_end_or_start_song(line) && (holds(line, kEndMarker) || holds(line, kHeaderMark));
}

bool plain_body_line(std::string_view line) {
    return find_any(line.data(), line.size(), ':', '#', '\\') == line.size();
}

std::string_view song_line(std::string_view stored, std::string& scratch) {
    // Rich-text words all start with a backslash; most lines hold none.
    if (stored.find('\\') != std::string_view::npos) {
        scratch.assign(stored);
        strip_rtf_words(scratch);
        stored = scratch;
    }
    return stored.substr(0, kSongLineMax);
}

void read_song_body(BookFile& book, Beeper& beeper,
                    const std::function<void(std::string_view)>& take) {
    std::string_view stored;
    std::string scratch;
    while (next_book_line(book, stored, beeper)) {
        if (ends_song_body(stored)) break;
        take(song_line(stored, scratch));
    }
}

bool find_song(BookFile& book, std::string& title, TextLabel& status, Beeper& beeper,
               std::string* key) {
    fold_title(title);
    std::string_view line;
    while (next_book_line(book, line, beeper)) {
        if (!may_end_or_start_song(line)) continue;
        if (holds(line, kEndMarker)) break;
        if (holds(line, kHeaderMark) && folded(header_title(line)) == title) {
            status.set_text(kFound);
            if (key) key->assign(header_key(line));
            return true;
        }
    }
    status.set_text(kNotFound);
    return false;
}

void load_current_song(const std::string& songbook_path, CurrentSong& song, TextLabel& status,
                       Beeper& beeper) {
    start_song(song);
    BookFile book(songbook_path);
    if (!book.is_open()) {
        // The title is folded as a lookup would leave it, so that what the
        // viewer shows does not depend on why the song is missing.
        fold_title(song.title);
        status.set_text(kNotFound);
    } else if (find_song(book, song.title, status, beeper, &song.header_key)) {
        read_song_body(book, beeper,
                       [&song](std::string_view line) { song.raw.emplace_back(line); });
        song.line_count = song.raw.size();
    }
    copy_to_display(song);
}

}  // namespace lyro
