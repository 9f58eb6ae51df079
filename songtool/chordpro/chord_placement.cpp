// Placing inline chords over their lyric and back; see chord_placement.h.
#include "songtool/chordpro/chord_placement.h"

#include <optional>
#include <vector>

#include "transpose/chord_rule.h"

namespace lyro {

namespace {

struct InlineChord {
    std::size_t at;  // the lyric character it stands before
    std::string text;
};

// A chord as one word of a chord line: blanks around it dropped, and a
// blank or '<' inside it (which would split it, or end the chord line
// there) written as '_'.
std::string chord_text(std::string_view text) {
    const std::size_t from = text.find_first_not_of(' ');
    if (from == std::string_view::npos) return "";
    std::string chord(text.substr(from, text.find_last_not_of(' ') - from + 1));
    for (char& c : chord) {
        if (c == ' ' || c == '<') c = '_';
    }
    return chord;
}

// Splits a ChordPro line into its lyric and its chords.
void split_chords(std::string_view line, std::string& lyric, std::vector<InlineChord>& chords) {
    // The next ']' is looked for again only once it lies behind: a line of
    // many '[' and few ']' stays one pass, however long.
    std::size_t next_close = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '[' && next_close != std::string_view::npos && next_close <= i) {
            next_close = line.find(']', i + 1);
        }
        const std::size_t close = line[i] == '[' ? next_close : std::string_view::npos;
        if (close == std::string_view::npos) {
            lyric += line[i];
            continue;
        }
        std::string_view text = line.substr(i + 1, close - i - 1);
        if (!text.empty() && text.front() == '*') text.remove_prefix(1);  // an annotation
        if (std::string chord = chord_text(text); !chord.empty()) {
            chords.push_back({lyric.size(), std::move(chord)});
        }
        i = close;
    }
}

// Transposed, a root without a sharp or flat may gain one (A becomes Bb):
// a chord that had to be moved away from such a chord keeps two blanks from
// it, so that the song's columns stay as they were in every key (the
// transposition would otherwise move the rest of the line). Only what the
// chord rule takes for a chord is transposed at all.
bool root_can_grow(std::string_view chord) {
    const std::optional<ChordParts> parts = parse_chord(chord);
    return parts && parts->root_text.size() == 1;
}

void put_at(std::string& line, std::size_t column, std::string_view text) {
    if (line.size() < column + text.size()) line.resize(column + text.size(), ' ');
    line.replace(column, text.size(), text);
}

}  // namespace

PlacedLine place_chords(std::string_view line) {
    PlacedLine placed;
    std::vector<InlineChord> chords;
    split_chords(line, placed.lyric, chords);
    if (chords.empty()) return placed;

    std::size_t stretched = 0;  // blanks put into the lyric so far
    std::size_t free_from = 0;  // the first column the next chord may take
    std::size_t safe_from = 0;  // the same, where it has to be moved anyway
    for (const InlineChord& chord : chords) {
        std::size_t column = chord.at + stretched;
        if (column < free_from) {
            const std::size_t gap = safe_from - column;
            // Past the lyric's end there is nothing to move apart.
            if (column < placed.lyric.size()) placed.lyric.insert(column, gap, ' ');
            stretched += gap;
            column = safe_from;
        }
        put_at(placed.chords, column, chord.text);
        free_from = column + chord.text.size() + 1;
        safe_from = free_from + (root_can_grow(chord.text) ? 1 : 0);
    }
    placed.chords += '<';
    // Blanks at the end of a lyric only ever stood under chords past it.
    placed.lyric.erase(placed.lyric.find_last_not_of(' ') + 1);
    return placed;
}

std::string inline_chords(std::string_view chord_line, std::string_view lyric) {
    std::vector<InlineChord> chords;
    for (std::size_t i = 0; i < chord_line.size();) {
        if (chord_line[i] == ' ' || chord_line[i] == '<') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < chord_line.size() && chord_line[end] != ' ' && chord_line[end] != '<') ++end;
        const std::string_view word = chord_line.substr(i, end - i);
        // A word that is no chord (N.C., x2, Intro:) goes out as an
        // annotation, so that ChordPro readers do not take it for one.
        chords.push_back({i, (is_chord(word) ? "" : "*") + std::string(word)});
        i = end;
    }
    std::string out(lyric);
    if (!chords.empty() && out.size() < chords.back().at) out.resize(chords.back().at, ' ');
    // From the right, so that each insertion leaves the columns to its left.
    for (auto chord = chords.rbegin(); chord != chords.rend(); ++chord) {
        out.insert(chord->at, 1, ']');
        out.insert(chord->at, chord->text);
        out.insert(chord->at, 1, '[');
    }
    return out;
}

}  // namespace lyro
