// One pass over the songbook that indexes every song's first appearance.
#include "print/song_index.h"

#include "library/book_file.h"
#include "library/current_song.h"
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
    CutCounter cuts;
    // The song whose body is being read, when it is the first of its title.
    IndexedSong* open_song = nullptr;
    std::string line;
    // As a lookup reads: the end marker ends everything, a header ends the
    // song before it, and only the first song of a folded title counts.
    while (get_book_line(book, line, cuts)) {
        const bool end = holds(line, kEndMarker);
        if (end || holds(line, kHeaderMark)) {
            if (open_song) open_song->beeps = cuts.count;
            open_song = nullptr;
            if (end) {
                beeps_to_end_ = cuts.count;
                return;
            }
            const auto [it, first] = songs_.try_emplace(folded(header_title(line)));
            if (first) open_song = &it->second;
            continue;
        }
        if (!open_song) continue;
        strip_rtf_words(line);
        if (line.size() > kSongLineMax) line.resize(kSongLineMax);
        open_song->lines.push_back(line);
    }
    if (open_song) open_song->beeps = cuts.count;
    beeps_to_end_ = cuts.count;
}

const IndexedSong* SongIndex::find(std::string_view title) const {
    const auto it = songs_.find(folded(title));
    return it == songs_.end() ? nullptr : &it->second;
}

}  // namespace lyro
