// Breaking long placed lines; see line_wrapping.h.
#include "songtool/chordpro/line_wrapping.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "songtool/chordpro/song_text.h"

namespace lyro {

namespace {

// A chord line and its lyric, column for column, without the '<'.
struct Columns {
    std::string_view chords;
    std::string_view lyric;

    std::size_t size() const { return std::max(chords.size(), lyric.size()); }
    char chord_at(std::size_t c) const { return c < chords.size() ? chords[c] : ' '; }
    char lyric_at(std::size_t c) const { return c < lyric.size() ? lyric[c] : ' '; }
    bool blank_at(std::size_t c) const { return chord_at(c) == ' ' && lyric_at(c) == ' '; }
    // A break before column c would cut a chord in two.
    bool inside_chord(std::size_t c) const { return c > 0 && chord_at(c - 1) != ' ' && chord_at(c) != ' '; }
};

// Where the piece that starts at `from` ends: the last column up to `limit`
// before which no chord is cut, a blank of the lyric preferred.
std::size_t break_before(const Columns& cols, std::size_t from, std::size_t limit) {
    if (limit >= cols.size()) return cols.size();
    std::size_t whole_chords = 0;
    for (std::size_t c = limit; c > from; --c) {
        if (cols.inside_chord(c)) continue;
        if (cols.lyric_at(c) == ' ' || cols.lyric_at(c - 1) == ' ') return c;
        if (whole_chords == 0) whole_chords = c;
    }
    return whole_chords != 0 ? whole_chords : limit;  // a word or a chord wider than a line
}

std::string_view columns_of(std::string_view text, std::size_t from, std::size_t to) {
    if (from >= text.size()) return {};
    return text.substr(from, std::min(to, text.size()) - from);
}

PlacedLine piece(const Columns& cols, std::size_t from, std::size_t to, bool lead_blank) {
    const std::string lead = lead_blank ? " " : "";
    PlacedLine out;
    const std::string chords = without_end_blanks(columns_of(cols.chords, from, to));
    if (!chords.empty()) out.chords = marked_chord_line(lead + chords);
    const std::string lyric = without_end_blanks(columns_of(cols.lyric, from, to));
    if (!lyric.empty()) out.lyric = lead + lyric;
    return out;
}

}  // namespace

std::vector<PlacedLine> wrap_placed(const PlacedLine& line, std::size_t width) {
    if (line.lyric.size() <= width && line.chords.size() <= width) return {line};
    // The columns without the '<' mark: at the end it takes a column of its
    // own, inside the line (before bar marks or annotations) a blank's.
    std::string chords = line.chords;
    if (const std::size_t mark = chords.find('<'); mark != std::string::npos) {
        if (mark + 1 == chords.size()) {
            chords.pop_back();
        } else {
            chords[mark] = ' ';
        }
    }
    const Columns cols{chords, line.lyric};
    // Each piece's chord line may need a column more for its '<'.
    const std::size_t room = chords.empty() ? width : width - 1;

    std::vector<PlacedLine> pieces;
    std::size_t from = 0;
    while (from < cols.size()) {
        const bool lead_blank = cols.chord_at(from) == ';' || cols.lyric_at(from) == ';';
        const std::size_t to = break_before(cols, from, from + room - (lead_blank ? 1 : 0));
        PlacedLine next = piece(cols, from, to, lead_blank);
        if (!next.chords.empty() || !next.lyric.empty()) pieces.push_back(std::move(next));
        from = to;
        while (from < cols.size() && cols.blank_at(from)) ++from;
    }
    return pieces;
}

}  // namespace lyro
