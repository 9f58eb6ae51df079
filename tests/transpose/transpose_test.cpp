// Chord-line transposition, compared byte for byte with the blanks that the
// rewrite leaves at the end of a line (up to the 80-column fill).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transpose/transpose_song.h"

namespace lyro {
namespace {

std::string transposed(std::string_view raw, int offset) {
    std::string out;
    transpose_line(raw, offset, out);
    return out;
}

// `shown` padded with blanks to `length` characters.
std::string padded(std::string shown, std::size_t length) {
    shown.resize(length, ' ');
    return shown;
}

struct Row {
    int line;  // for the failure message
    int offset;
    std::string_view raw;
    std::string_view shown;  // the display line without its trailing blanks
    std::size_t length;      // the display line's whole length
};

// The worked examples. Each rewritten chord ends with a blank; a line whose
// last chord ends past the line's end takes on the fill up to column 80.
const Row kWorkedExamples[] = {
    {__LINE__, +2, "   G        C      D7<", "   A        D      E7", 22},
    {__LINE__, +3, "  a    a  am7  cm7  g  bm7  e<", "  C    C  Cm7  Ebm7 Bb Dm7  G", 30},
    {__LINE__, +1, "  C  A  D<", "  C# Bb Eb", 80},
    {__LINE__, +1, "  C A D<", "  C#  Eb", 80},
    {__LINE__, -1, "  Bb   Eb   F<", "  A    D    E", 14},
    {__LINE__, +1, "  F#m7 B7 E<", "  Gm7  C7 F", 12},
    {__LINE__, 0, "  Db   Gb   Ab<", "  C#   F#   G#", 15},
    {__LINE__, 0, "  A#   D    E<", "  Bb   D    E", 14},
    {__LINE__, 0, "  EB  AB<", "  Eb  G#", 9},
    {__LINE__, +2, "  G/B  C<", "  A/B  D", 9},
    {__LINE__, +2, "  Cbass  G<", "  Dbass  A", 11},
    {__LINE__, +3, "  E#  Cb<", "  XX  XX", 9},
    {__LINE__, +2, "  Gmaj7sus42 C<", "  A Bj7sus42 D", 15},
    {__LINE__, +12, "  Csus4  Cmaj7<", "  Csus4  Cmaj7", 15},
    {__LINE__, -11, "  C   G<", "  C#  G#", 80},
    {__LINE__, -12, "  Am  F  C  G<", "  Am  F  C  G", 14},
    {__LINE__, +2, "CHORUS:  G<", "DHORUS:  A", 11},
    {__LINE__, +3, "  C    D", "  C    D", 8},
};

TEST(Transpose, WorkedExamplesByteForByte) {
    for (const Row& row : kWorkedExamples) {
        SCOPED_TRACE("row at line " + std::to_string(row.line));
        EXPECT_EQ(transposed(row.raw, row.offset), padded(std::string(row.shown), row.length));
    }
}

TEST(Transpose, OffsetZeroStillNormalisesEveryChordLine) {
    EXPECT_EQ(transposed("  c  db  gb  ab  a#  fb<", 0), "  C  C#  F#  G#  Bb  XX ");
    EXPECT_EQ(transposed("  e# b#<", 0), "  XX XX ");
}

TEST(Transpose, PlusAndMinusTwelveGiveTheNamesOfZero) {
    const std::string_view line = "  a  bb  b  c  c#  d  eb  e  f  f#  g  g#<";
    const std::string at_zero = transposed(line, 0);
    EXPECT_EQ(transposed(line, 12), at_zero);
    EXPECT_EQ(transposed(line, -12), at_zero);
}

TEST(Transpose, EveryOffsetMovesEveryRootAroundTheCycle) {
    const std::vector<std::string> names = {"A",  "Bb", "B", "C",  "C#", "D",
                                            "Eb", "E",  "F", "F#", "G",  "G#"};
    for (int offset = -12; offset <= 12; ++offset) {
        for (int from = 0; from < 12; ++from) {
            const std::string expected = names[static_cast<std::size_t>((from + offset + 24) % 12)];
            const std::string line = "   " + names[static_cast<std::size_t>(from)] + "<";
            SCOPED_TRACE(line + " at offset " + std::to_string(offset));
            const std::string out = transposed(line, offset);
            EXPECT_EQ(out.substr(3, expected.size() + 1), expected + " ");
        }
    }
}

TEST(Transpose, DSharpIsSpelledAsEFlat) {
    EXPECT_EQ(transposed("  D#m  G<", 0), "  Ebm  G ");
    EXPECT_EQ(transposed("  D#  G<", 2), "  F   A ");
}

TEST(Transpose, AGrowingLastChordContinuesInBlanksToColumn80) {
    const std::string raw = std::string(76, ' ') + "A<";  // 78 characters
    const std::string out = transposed(raw, 1);
    EXPECT_EQ(out, padded(std::string(76, ' ') + "Bb", 80));
    EXPECT_EQ(out.size(), 80U);
}

TEST(Transpose, ALineLongerThan80EndsRightAfterItsGrownLastChord) {
    const std::string raw = std::string(96, ' ') + "Am<";  // 99 characters
    const std::string out = transposed(raw, 1);
    EXPECT_EQ(out, std::string(96, ' ') + "Bbm ");
    EXPECT_EQ(out.size(), 100U);
}

TEST(Transpose, SlashChordsMoveOnlyTheirFirstRoot) {
    EXPECT_EQ(transposed("  G/B  D/F#<", 2), "  A/B  E/F# ");
}

TEST(Transpose, BAfterTheRootIsAFlatUnlessItStartsBas) {
    EXPECT_EQ(transposed("  EB  Eb  Ebm7<", 1), "  E   E   Em7  ");
    EXPECT_EQ(transposed("  Cbass  Cbas  Cba<", 0), "  Cbass  Cbas  XXa ");
}

TEST(Transpose, ATenCharacterWordHasOnlyItsFirstLetterAsRoot) {
    // Nine characters are still one chord; ten make a one-letter token.
    EXPECT_EQ(transposed("  Cmaj7sus4 x<", 2), "  Dmaj7sus4 x ");
    EXPECT_EQ(transposed("  Cmaj7sus42 x<", 0), "  C Aj7sus42 x ");
}

TEST(Transpose, AMarkedLineWithoutNotesOnlyLosesItsMarks) {
    EXPECT_EQ(transposed("  <<  xyz  <", 5), "      xyz   ");
    EXPECT_EQ(transposed("<", 3), " ");
}

TEST(Transpose, LinesWithoutMarkAreShownAsStored) {
    EXPECT_EQ(transposed("  a  b  c", 4), "  a  b  c");
    EXPECT_EQ(transposed("", 4), "");
}

TEST(Transpose, StrangeOffsetsStayInTheCycle) {
    EXPECT_EQ(transposed("  A<", 25), transposed("  A<", 1));
    EXPECT_EQ(transposed("  A<", -2147483647 - 1), transposed("  A<", -8));
    EXPECT_EQ(transposed("  A<", 2147483647), transposed("  A<", 7));
}

TEST(TransposeSong, RebuildsDisplayLinesFromRawSoOffsetsNeverAccumulate) {
    CurrentSong song;
    song.raw = {" ", "  C   G<", "words"};
    song.line_count = 3;
    transpose_song(song, 2);
    transpose_song(song, 2);
    EXPECT_EQ(song.display[0], " ");
    EXPECT_EQ(song.display[1], "  D   A ");
    EXPECT_EQ(song.display[2], "words");
}

TEST(TransposeSong, LeavesLinesAtAndBeyondTheLineCountAlone) {
    CurrentSong song;
    song.raw = {" ", "  C<", "  D<"};
    song.display[2] = "old";
    song.display[3] = "older";
    song.line_count = 2;
    transpose_song(song, 1);
    EXPECT_EQ(song.display[1], padded("  C#", 80));
    EXPECT_EQ(song.display[2], "old");
    EXPECT_EQ(song.display[3], "older");

    song.display[0] = "kept";
    song.line_count = 0;
    transpose_song(song, 1);
    EXPECT_EQ(song.display[0], "kept");
}

TEST(TransposeSong, ALineCountBeyondTheRawLinesStopsAtTheLastRawLine) {
    CurrentSong song;
    song.raw = {" "};
    song.display.assign(1, "x");
    song.line_count = 500;
    transpose_song(song, 0);
    EXPECT_EQ(song.display[0], " ");
}

}  // namespace
}  // namespace lyro
