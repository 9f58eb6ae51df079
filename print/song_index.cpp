// One pass over the songbook that indexes every song's first appearance.
#include "print/song_index.h"

#include <filesystem>
#include <system_error>

#include "library/book_file.h"
#include "library/current_song.h"
#include "library/song_loading.h"
#include "library/title_ops.h"

namespace lyro {

namespace {

// Counts the reader's cuts as it reads.
class CutCounter final : public Beeper {
public:
    void beep() override { ++count; }
    std::size_t count = 0;
};

}  // namespace

SongIndex::SongIndex(const std::string& songbook_path) {
    BookFile book(songbook_path);
    opened_ = book.is_open();
    if (!opened_) return;
    // The lines are at most the file's text: room for them once, instead
    // of growing (and copying, and touching fresh memory) again and again.
    std::error_code unknown;
    const auto size = std::filesystem::file_size(songbook_path, unknown);
    if (!unknown) text_.reserve(static_cast<std::size_t>(size));
    CutCounter cuts;
    // The song whose body is being read, when it is the first of its title.
    IndexedSong* open_song = nullptr;
    std::string_view stored;
    std::string scratch;
    // As a lookup reads: the end marker ends everything, a header ends the
    // song before it, and only the first song of a folded title counts.
    while (next_book_line(book, stored, cuts)) {
        if (plain_body_line(stored)) {
            if (open_song) add_line(*open_song, stored.substr(0, kSongLineMax));
            continue;
        }
        if (ends_song_body(stored)) {
            const bool end = holds(stored, kEndMarker);
            if (open_song) open_song->beeps = cuts.count;
            open_song = nullptr;
            if (end) {
                beeps_to_end_ = cuts.count;
                return;
            }
            const auto [it, first] = songs_.try_emplace(folded(header_title(stored)));
            if (first) open_song = &it->second;
            continue;
        }
        if (open_song) add_line(*open_song, song_line(stored, scratch));
    }
    if (open_song) open_song->beeps = cuts.count;
    beeps_to_end_ = cuts.count;
}

void SongIndex::add_line(IndexedSong& song, std::string_view line) {
    static_assert(kSongLineMax <= UINT8_MAX, "a line's size must fit its slot");
    if (song.line_count == 0) {
        song.first_char = text_.size();
        song.first_line = line_sizes_.size();
    }
    ++song.line_count;
    text_ += line;
    line_sizes_.push_back(static_cast<std::uint8_t>(line.size()));
}

const IndexedSong* SongIndex::find(std::string_view title) const {
    const auto it = songs_.find(folded(title));
    return it == songs_.end() ? nullptr : &it->second;
}

}  // namespace lyro
