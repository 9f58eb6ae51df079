// Between ChordPro's inline chords ("[G]Amazing [C]grace") and the
// songbook's chord line above its lyric line, column for column.
#pragma once

#include <string>
#include <string_view>

#include "transpose/chord_rule.h"

namespace lyro {

struct PlacedLine {
    // The chord line: each chord at the column of the lyric character it
    // was written before, at least one blank between two chords, '<' right
    // after the last chord (marked_chord_line). Empty when the line has no
    // chords.
    std::string chords;
    // The lyric as typed, stretched with blanks where two chords would
    // otherwise touch; with chords, without blanks at its end. Empty for a
    // line of chords alone.
    std::string lyric;
};

// How the chords of a line are moved as they are placed ({transpose} in a
// ChordPro file): by `offset` half steps, spelled from `names`.
struct ChordMove {
    int offset = 0;
    const NoteNames* names = &kFixedNames;
};

// A ChordPro lyric line with its chords put above it. A '[' without its
// ']' and a lone ']' are lyric text; "[]" is nothing; an annotation
// ("[*pauza 2x]") is carried without its '*', blanks kept, and not moved.
PlacedLine place_chords(std::string_view line, const ChordMove& move = {});

// `line`, a chord line without its '<', with the '<' right after its last
// chord (a word by the chord rule, words split at blanks and '|'), every
// column kept where a blank follows the chord: "G  C  | x2" becomes
// "G  C< | x2". A line without a chord gets the '<' at its end.
std::string marked_chord_line(std::string_view line);

// The other way: the chords of `chord_line` written inline into `lyric`,
// each before the lyric character in its column (the lyric padded with
// blanks where a chord stands past its end). Each run of non-blank
// characters is one; a run that is no chord by the chord rule goes out as
// an annotation ("[*N.C.]"); '<' marks are left out.
std::string inline_chords(std::string_view chord_line, std::string_view lyric);

}  // namespace lyro
