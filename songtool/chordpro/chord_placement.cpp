// Placing inline chords over their lyric and back; see chord_placement.h.
#include "songtool/chordpro/chord_placement.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "transpose/chord_rule.h"

namespace lyro {

namespace {

struct InlineChord {
    std::size_t at;  // the lyric character it stands before
    std::string text;
};

std::string without_outer_blanks(std::string_view text) {
    const std::size_t from = text.find_first_not_of(' ');
    if (from == std::string_view::npos) return "";
    return std::string(text.substr(from, text.find_last_not_of(' ') - from + 1));
}

// A chord as one word of a chord line: blanks around it dropped, and a
// blank or '<' inside it (which would split it, or end the chord line
// there) written as '_'. Moved by `move` when it is a chord by the rule.
std::string chord_text(std::string_view text, const ChordMove& move) {
    std::string chord = without_outer_blanks(text);
    std::replace(chord.begin(), chord.end(), ' ', '_');
    std::replace(chord.begin(), chord.end(), '<', '_');
    if (move.offset % 12 != 0) {
        if (const auto parts = parse_chord(chord)) {
            return transposed_chord(*parts, move.offset, *move.names);
        }
    }
    return chord;
}

bool any_chord_word(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = std::min(text.find(' ', i), text.size());
        if (is_chord(text.substr(i, end - i))) return true;
        i = end + 1;
    }
    return false;
}

// An annotation ("[*pauza 2x]") stands on the chord line as it is written,
// blanks kept, and is never moved. Only when one of its words would read
// as a chord (and so be transposed) are its blanks written as '_', which
// makes the whole one word that is no chord.
std::string annotation_text(std::string_view text) {
    std::string note = without_outer_blanks(text);
    std::replace(note.begin(), note.end(), '<', '_');
    if (note.find(' ') != std::string::npos && any_chord_word(note)) {
        std::replace(note.begin(), note.end(), ' ', '_');
    }
    return note;
}

// Splits a ChordPro line into its lyric and its chords.
void split_chords(std::string_view line, const ChordMove& move, std::string& lyric,
                  std::vector<InlineChord>& chords) {
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
        const std::string_view text = line.substr(i + 1, close - i - 1);
        std::string chord = text.starts_with('*') ? annotation_text(text.substr(1))
                                                  : chord_text(text, move);
        if (!chord.empty()) chords.push_back({lyric.size(), std::move(chord)});
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

PlacedLine place_chords(std::string_view line, const ChordMove& move) {
    PlacedLine placed;
    std::vector<InlineChord> chords;
    split_chords(line, move, placed.lyric, chords);
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
    placed.chords = marked_chord_line(placed.chords);
    // Blanks at the end of a lyric only ever stood under chords past it.
    placed.lyric.erase(placed.lyric.find_last_not_of(' ') + 1);
    return placed;
}

std::string marked_chord_line(std::string_view line) {
    std::size_t end = std::string_view::npos;  // where the last chord ends
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ' || line[i] == '|') {
            ++i;
            continue;
        }
        const std::size_t stop = std::min(line.find_first_of(" |", i), line.size());
        if (is_chord(line.substr(i, stop - i))) end = stop;
        i = stop;
    }
    std::string out(line);
    if (end == std::string_view::npos || end == out.size()) return out + '<';
    if (out[end] == ' ') {
        out[end] = '<';
    } else {
        out.insert(end, 1, '<');
    }
    return out;
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
