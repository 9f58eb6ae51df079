// Between ChordPro's inline chords ("[G]Amazing [C]grace") and the
// songbook's chord line above its lyric line, column for column.
#pragma once

#include <string>
#include <string_view>

namespace lyro {

struct PlacedLine {
    // The chord line: each chord at the column of the lyric character it
    // was written before, at least one blank between two chords, '<' right
    // after the last one. Empty when the line has no chords.
    std::string chords;
    // The lyric as typed, stretched with blanks where two chords would
    // otherwise touch; with chords, without blanks at its end. Empty for a
    // line of chords alone.
    std::string lyric;

    bool chords_only() const { return lyric.empty(); }
};

// A ChordPro lyric line with its chords put above it. A '[' without its
// ']' and a lone ']' are lyric text; "[]" is nothing; an annotation
// ("[*riff]") is carried as a chord without its '*'.
PlacedLine place_chords(std::string_view line);

// The other way: the chords of `chord_line` written inline into `lyric`,
// each before the lyric character in its column (the lyric padded with
// blanks where a chord stands past its end). Each run of non-blank
// characters is one; a run that is no chord by the chord rule goes out as
// an annotation ("[*N.C.]"); '<' marks are left out.
std::string inline_chords(std::string_view chord_line, std::string_view lyric);

}  // namespace lyro
