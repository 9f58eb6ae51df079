// Inline chords put above their lyric characters, and back.
#include <gtest/gtest.h>

#include "songtool/chordpro/chord_placement.h"

namespace lyro {
namespace {

struct PlacementRow {
    const char* chordpro;
    const char* chords;
    const char* lyric;
};

TEST(ChordPlacement, EachChordStandsAtItsLyricCharacter) {
    const PlacementRow rows[] = {
        // The usual line, a slash chord, a chord inside a word.
        {"[G]Amazing [C]grace, how [G/B]sweet the [D]sound", "G       C          G/B       D<",
         "Amazing grace, how sweet the sound"},
        {"A[Am]men", " Am<", "Amen"},
        // Chords past the end of the line.
        {"Over[C]", "    C<", "Over"},
        {"Over [C#] [D]", "     C# D<", "Over"},
        // Touching chords stretch the lyric, in the middle of a word too;
        // two blanks after a root that can grow when transposed (A to Bb).
        {"[Am7]A[D]men", "Am7  D<", "A    men"},
        {"ris[Bbm7]i[D]ng", "   Bbm7 D<", "risi    ng"},
        {"[Cbass]x[Ebm]y[F#]z", "Cbass  Ebm F#<", "x      y   z"},
        // Chords alone: the same distances.
        {"[G][D][Em]", "G  D  Em<", ""},
        {"[G]  [D]   [Em]", "G D  Em<", ""},
        {"[N.C.][G]", "N.C. G<", ""},
        // Text that is not a chord is carried as it is; an annotation loses its '*'.
        {"[N.C.]Stop", "N.C.<", "Stop"},
        {"[*riff] go", "riff<", " go"},
        // Unbalanced brackets are lyric; an empty chord is nothing.
        {"[G", "", "[G"},
        {"a ] b", "", "a ] b"},
        {"[]#1 hit", "", "#1 hit"},
        {"[ ]x", "", "x"},
        {"[ N. C. ]x [a<b]y", "N._C. a_b<", "x     y"},
        {"", "", ""},
    };
    for (const PlacementRow& row : rows) {
        const PlacedLine placed = place_chords(row.chordpro);
        EXPECT_EQ(placed.chords, row.chords) << row.chordpro;
        EXPECT_EQ(placed.lyric, row.lyric) << row.chordpro;
    }
}

TEST(ChordPlacement, InlineChordsAreWrittenBeforeTheirColumnsCharacters) {
    const PlacementRow rows[] = {
        {"[G]Amazing [C]grace", "G       C<", "Amazing grace"},
        {"Over    [C]", "        C<", "Over"},
        {"[G]     [D]", "G    D<", ""},
        {"  [F#m7]x    [B7/D#]y", "  F#m7 B7/D#<", "  x    y"},
        {"no chords", "", "no chords"},
        // Words that are no chords go out as annotations.
        {"[*N.C.]Stop  [*x2]      [G]", "N.C.  x2    G<", "Stop"},
        {"[*Intro:]       [A/C#]      [*|]", "Intro: A/C#  |<", ""},
    };
    for (const PlacementRow& row : rows) {
        EXPECT_EQ(inline_chords(row.chords, row.lyric), row.chordpro) << row.chords;
    }
}

}  // namespace
}  // namespace lyro
