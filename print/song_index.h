// The songbook read once for a whole printout: for every folded title, the
// lines of the first song of that title before the end marker, as a lookup
// from the top of the file would load them (cleaned of rich-text words, cut
// to 100 characters), and what that lookup would have cost in beeps. The
// printout then takes each entry's song from here instead of reading the
// file from the top once per entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "library/beeper.h"
#include "library/current_song.h"

namespace lyro {

struct IndexedSong {
    // Where the song's lines stand in the index (see SongIndex::lines).
    std::size_t first_char = 0;
    std::size_t first_line = 0;
    std::size_t line_count = 0;
    // The reader's cuts from the top of the file up to the line that ended
    // the song: the beeps of looking it up.
    std::size_t beeps = 0;
};

class SongIndex {
public:
    // Reads `songbook_path` once. A songbook that cannot be opened gives
    // an index in which nothing is found.
    explicit SongIndex(const std::string& songbook_path);

    bool opened() const { return opened_; }
    // The song of `title` (folded here), or nullptr when a lookup from the
    // top would not find it.
    const IndexedSong* find(std::string_view title) const;
    // The beeps of a lookup that finds nothing: every cut up to the end
    // marker, or to the end of the file.
    std::size_t beeps_when_not_found() const { return beeps_to_end_; }
    // Hands `take` every line of `song` in order, each a view that lasts as
    // long as the index.
    template <typename Take>
    void lines(const IndexedSong& song, Take&& take) const {
        std::size_t at = song.first_char;
        for (std::size_t i = song.first_line; i < song.first_line + song.line_count; ++i) {
            take(std::string_view(text_).substr(at, line_sizes_[i]));
            at += line_sizes_[i];
        }
    }

private:
    void add_line(IndexedSong& song, std::string_view line);

    bool opened_ = false;
    // Every indexed line, one after another, and the size of each (a song
    // line holds at most kSongLineMax characters): a songbook of thousands
    // of songs costs two buffers, not an allocation per line.
    std::string text_;
    std::vector<std::uint8_t> line_sizes_;
    std::unordered_map<std::string, IndexedSong> songs_;
    std::size_t beeps_to_end_ = 0;
};

}  // namespace lyro
