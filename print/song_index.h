// The songbook read once for a whole printout: for every folded title, the
// lines of the first song of that title before the end marker, as a lookup
// from the top of the file would load them (cleaned of rich-text words, cut
// to 100 characters), and what that lookup would have cost in beeps. The
// printout then takes each entry's song from here instead of reading the
// file from the top once per entry.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "library/beeper.h"

namespace lyro {

struct IndexedSong {
    std::vector<std::string> lines;
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

private:
    bool opened_ = false;
    std::unordered_map<std::string, IndexedSong> songs_;
    std::size_t beeps_to_end_ = 0;
};

}  // namespace lyro
