// Building one imported song line by line, whatever file format the lines
// come from: every line is checked against what the songbook would read
// differently, long lines are broken to the viewer's width, and the song is
// kept within what the viewer and the editor hold. The first problem
// refuses the song, with the file's line named.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "songtool/chordpro/chord_placement.h"
#include "songtool/chordpro/imported_song.h"
#include "songtool/chordpro/song_text.h"
#include "songtool/chordpro/text_decoding.h"

namespace lyro {

class SongBuilder {
public:
    // The 1-based line of the file that the next lines come from.
    void at_line(std::size_t number) { number_ = number; }
    bool refused() const { return refusal_.has_value(); }

    // A lyric line (no chords); refused when the songbook would misread it.
    void add_lyric(std::string line);
    // A chord line (with its '<') and the lyric under it, broken into
    // pieces that the viewer shows whole.
    void add_placed(const PlacedLine& line);
    void refuse(std::string why);
    // The letters of a line of the file that belongs to the song.
    void count(const LetterCounts& counts) { letters_ += counts; }

    ImportedSong& song() { return song_; }

    // The song, or why it cannot come in: no lyric or chord line, letters
    // the songbook cannot write, a title it cannot hold. `fallback_title`
    // (Windows-1252) is used when the song gives none.
    ImportOutcome finish(std::string_view fallback_title) &&;

private:
    void add(std::string line, bool chord_line);

    ImportedSong song_;
    std::optional<ImportRefusal> refusal_;
    LetterCounts letters_;
    std::size_t number_ = 0;
    std::size_t editor_chars_ = 3;  // the writer's single-blank line
};

}  // namespace lyro
