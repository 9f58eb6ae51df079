// Chord-line transposition, compared byte for byte with the blanks that the
// rewrite leaves at the end of a line (up to the 80-column fill).
#include <gtest/gtest.h>

#include <random>
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

// The worked examples, as musicians need them where the plain column
// rewrite lost or invented chords. Each rewritten chord ends with a blank;
// a line whose last chord ends past the line's end takes on the fill up to
// column 80.
const Row kWorkedExamples[] = {
    {__LINE__, +2, "   G        C      D7<", "   A        D      E7", 22},
    {__LINE__, +3, "  a    a  am7  cm7  g  bm7  e<", "  C    C  Cm7  Ebm7 Bb Dm7  G", 30},
    {__LINE__, +1, "  C  A  D<", "  C# Bb Eb", 80},
    {__LINE__, +1, "  C A D<", "  C# Bb Eb", 80},  // the A is kept, the rest moves
    {__LINE__, -1, "  Bb   Eb   F<", "  A    D    E", 14},
    {__LINE__, +1, "  F#m7 B7 E<", "  Gm7  C7 F", 12},
    {__LINE__, 0, "  Db   Gb   Ab<", "  C#   F#   G#", 15},
    {__LINE__, 0, "  A#   D    E<", "  Bb   D    E", 14},
    {__LINE__, 0, "  EB  AB<", "  Eb  G#", 9},
    {__LINE__, +2, "  G/B  C<", "  A/C# D", 9},
    {__LINE__, +2, "  Cbass  G<", "  Dbass  A", 11},
    {__LINE__, +3, "  E#  Cb<", "  G#  D", 9},
    {__LINE__, +2, "  Gmaj7sus42 C<", "  Amaj7sus42 D", 15},
    {__LINE__, +12, "  Csus4  Cmaj7<", "  Csus4  Cmaj7", 15},
    {__LINE__, -11, "  C   G<", "  C#  G#", 80},
    {__LINE__, -12, "  Am  F  C  G<", "  Am  F  C  G", 14},
    {__LINE__, +2, "CHORUS:  G<", "CHORUS:  A", 11},
    {__LINE__, +3, "  C    D", "  C    D", 8},
};

TEST(Transpose, WorkedExamplesByteForByte) {
    for (const Row& row : kWorkedExamples) {
        SCOPED_TRACE("row at line " + std::to_string(row.line));
        EXPECT_EQ(transposed(row.raw, row.offset), padded(std::string(row.shown), row.length));
    }
}

TEST(Transpose, OffsetZeroStillNormalisesEveryChordLine) {
    EXPECT_EQ(transposed("  c  db  gb  ab  a#  fb<", 0), "  C  C#  F#  G#  Bb  E  ");
    EXPECT_EQ(transposed("  e# b#<", 0), "  F  C  ");
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

TEST(Transpose, SlashChordsMoveTheirBassNoteWithTheRoot) {
    EXPECT_EQ(transposed("  G/B  D/F#<", 2), "  A/C# E/G# ");
    EXPECT_EQ(transposed("  D/F#  C/E<", -2), padded("  C/E   Bb/D", 80));
    EXPECT_EQ(transposed("  g/b<", 1), padded("  G#/C", 80));
}

TEST(Transpose, BAfterTheRootIsAFlatUnlessTheRestThenIsNoChord) {
    EXPECT_EQ(transposed("  EB  Eb  Ebm7<", 1), "  E   E   Em7  ");
    // "bass" names the bass; "bas" and "ba" make no chord of either reading.
    EXPECT_EQ(transposed("  Cbass  Cbas  Cba<", 2), "  Dbass  Cbas  Cba ");
}

TEST(Transpose, LongChordNamesAreChordsAsWhole) {
    EXPECT_EQ(transposed("  Cmaj7sus4 x<", 2), "  Dmaj7sus4 x ");
    EXPECT_EQ(transposed("  Cmaj7sus42 x<", 2), "  Dmaj7sus42 x ");
    EXPECT_EQ(transposed("  F#m7b5 Bbdim7 Caug C7(b9) Gadd9 Dm7-5<", 1),
              padded("  Gm7b5  Bdim7  C#aug C#7(b9) G#add9 Ebm7-5", 80));
}

// Rows of what the chord rule and the moving of words change: no chord lost
// or cut, only chords rewritten, every sharp or flat on a letter a note.
const Row kChordRuleRows[] = {
    {__LINE__, +1, "  N.C.  G<", "  N.C.  G#", 80},
    {__LINE__, +2, "Capo 2  G  D<", "Capo 2  A  E", 13},
    {__LINE__, +2, "Intro: | G  C | x2  riff  Bridge<", "Intro: | A  D | x2  riff  Bridge", 33},
    {__LINE__, +1, "  (Am)  (G7)  (Am<", "  (Bbm) (G#7) (Am", 18},  // "(Am" is no chord
    {__LINE__, +1, "  Am(add9)<", "  Bbm(add9)", 80},
    {__LINE__, +1, "  A B C D E F G<", "  Bb C C# Eb F F# G#", 80},
    {__LINE__, +1, "  A  B  C<", "  Bb C  C#", 80},
    {__LINE__, -1, "  Bb Eb F<", "  A  D  E", 10},
    {__LINE__, +5, "  B#  Fb  Cb7<", "  F   A   E7", 14},
    {__LINE__, +1, "  Ddim  C\xB0  G\xF8 E+ Asus2<", "  Ebdim C#\xB0 G#\xF8 F+ Bbsus2", 80},
    {__LINE__, +3, "  a    bm   c#m<", "  C    Dm   Em", 16},
    {__LINE__, +2, "Verse 1:  Am  G/B  C<", "Verse 1:  Bm  A/C# D", 21},
    {__LINE__, 0, "  Db  Gb  Ab  D#<", "  C#  F#  G#  Eb", 17},
};

TEST(Transpose, ChordRuleRowsByteForByte) {
    for (const Row& row : kChordRuleRows) {
        SCOPED_TRACE("row at line " + std::to_string(row.line));
        EXPECT_EQ(transposed(row.raw, row.offset), padded(std::string(row.shown), row.length));
    }
}

TEST(Transpose, AChordAtColumn79ThatGrowsRunsOn) {
    const std::string raw = std::string(79, ' ') + "A/C<";
    EXPECT_EQ(transposed(raw, 1), std::string(79, ' ') + "Bb/C# ");
}

TEST(Transpose, AHundredColumnsOfGrowingChordsLoseNothing) {
    std::string raw;
    while (raw.size() + 2 <= 100) raw += "A ";
    raw.back() = '<';
    const std::string out = transposed(raw, 1);
    std::string expected;
    for (std::size_t i = 0; i < 50; ++i) expected += "Bb ";
    EXPECT_EQ(out, expected.substr(0, 3 * 49 + 2) + " ");
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

// A small reference of its own: random chord lines built from known parts
// (so the transposed chord is known without the chord rule), words that
// are no chords, and blanks of one or more between them. Every word must
// come out in order, a chord moved right and spelled from the table, any
// other word as written, each at its old column unless the word before it
// grew into it, and then one blank after that word.
TEST(Transpose, RandomChordLinesLoseNothingAndMoveOnlyWhatMust) {
    const std::vector<std::string> roots = {"A", "A#", "Bb", "B", "Cb", "C", "C#", "Db", "D",
                                            "D#", "Eb", "E", "E#", "Fb", "F", "F#", "Gb", "G", "G#", "Ab",
                                            "B#"};
    const std::vector<int> pitches = {0, 1, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7, 8, 7, 8, 9, 9, 10, 11, 11, 3};
    const std::vector<std::string> suffixes = {"", "m", "7", "m7", "maj7", "sus4", "dim", "add9",
                                               "m7b5", "6", "9", "+", "(b9)", "bass"};
    const std::vector<std::string> words = {"N.C.", "x2", "|", "Capo", "riff", "Intro:", "(Am",
                                            "Bridge", "2"};
    const std::vector<std::string> names = {"A",  "Bb", "B", "C",  "C#", "D",
                                            "Eb", "E",  "F", "F#", "G",  "G#"};
    std::mt19937 random(20261210);
    for (int round = 0; round < 4000; ++round) {
        const int offset = static_cast<int>(random() % 25) - 12;
        std::string raw;
        struct Expected {
            std::size_t column;
            std::string text;
        };
        std::vector<Expected> expected;
        while (raw.size() < 90) {
            raw.append(1 + random() % 3, ' ');
            const std::size_t column = raw.size();
            if (random() % 4 == 0) {
                const std::string& word = words[random() % words.size()];
                raw += word;
                expected.push_back({column, word});
                continue;
            }
            const std::size_t r = random() % roots.size();
            const std::string& suffix = suffixes[random() % suffixes.size()];
            std::string chord = roots[r] + suffix;
            std::string moved = names[static_cast<std::size_t>((pitches[r] + offset + 24) % 12)] +
                                suffix;
            if (random() % 4 == 0) {
                const std::size_t b = random() % roots.size();
                chord += "/" + roots[b];
                moved += "/" + names[static_cast<std::size_t>((pitches[b] + offset + 24) % 12)];
            }
            raw += chord;
            expected.push_back({column, moved});
        }
        raw += '<';
        const std::string out = transposed(raw, offset);
        SCOPED_TRACE(raw + " at " + std::to_string(offset));
        std::size_t free_from = 0;
        std::size_t at = 0;
        for (const Expected& word : expected) {
            const std::size_t column = std::max(word.column, free_from);
            ASSERT_EQ(out.substr(at, column - at), std::string(column - at, ' '));
            ASSERT_EQ(out.substr(column, word.text.size()), word.text);
            at = column + word.text.size();
            free_from = at + 1;
        }
        EXPECT_EQ(out.find_first_not_of(' ', at), std::string::npos);
    }
}

CurrentSong song_in(std::string header_key, std::vector<std::string> raw) {
    CurrentSong song;
    song.header_key = std::move(header_key);
    song.raw = std::move(raw);
    song.line_count = song.raw.size();
    return song;
}

TEST(SpellingByKey, EachKeyNamesItsBlackKeys) {
    struct Row {
        std::string key;
        std::string black_keys;  // A#/Bb, C#/Db, D#/Eb, F#/Gb, G#/Ab
    };
    const Row rows[] = {
        {"C", "Bb C# Eb F# Ab"},  {"F", "Bb Db Eb Gb Ab"}, {"Bb", "Bb Db Eb Gb Ab"},
        {"Eb", "Bb Db Eb Gb Ab"}, {"Ab", "Bb Db Eb Gb Ab"}, {"Db", "Bb Db Eb Gb Ab"},
        {"G", "A# C# D# F# G#"},  {"D", "A# C# D# F# G#"}, {"A", "A# C# D# F# G#"},
        {"E", "A# C# D# F# G#"},  {"B", "A# C# D# F# G#"}, {"F#", "A# C# D# F# G#"},
    };
    for (const Row& row : rows) {
        const NoteNames& names = key_names(*note_pitch(row.key));
        const std::string got = std::string(names[1]) + " " + std::string(names[4]) + " " +
                                std::string(names[6]) + " " + std::string(names[9]) + " " +
                                std::string(names[11]);
        EXPECT_EQ(got, row.black_keys) << row.key;
    }
}

TEST(SpellingByKey, TheSongsKeyComesFromItsHeaderElseItsLastChord) {
    EXPECT_EQ(song_key(song_in("G", {" ", "C  D<"})), 10);
    EXPECT_EQ(song_key(song_in("F#m", {" "})), 0);  // its relative major, A
    EXPECT_EQ(song_key(song_in("Ebmaj", {" "})), 6);
    for (const std::string nonsense : {"H", "", "xx", "Gsus"}) {
        // The last chord of the last chord line, words after it skipped.
        EXPECT_EQ(song_key(song_in(nonsense, {" ", "  D  A<", "words", "  G  Em  x2<", "la"})), 10)
            << nonsense;
    }
    EXPECT_EQ(song_key(song_in("", {" ", "  E  B<"})), 2);
    EXPECT_EQ(song_key(song_in("", {" ", "no chords", "N.C.<"})), std::nullopt);
}

TEST(SpellingByKey, NamesFollowTheKeyTheSongIsMovedTo) {
    struct Row {
        std::string key;
        std::string raw;
        int offset;
        std::string fixed;
        std::string by_key;
    };
    const Row rows[] = {
        {"Eb", "  Eb  Ab  Bb  Cm<", 0, "  Eb  G#  Bb  Cm ", "  Eb  Ab  Bb  Cm "},
        {"Eb", "  Eb  Ab  Bb  Cm<", 1, "  E   A   B   C#m", "  E   A   B   C#m"},
        {"E", "  E  B  C#m  A  D#dim<", -1, "  Eb Bb Cm   G# Ddim ", "  Eb Bb Cm   Ab Ddim "},
        {"", "  Am  E/G#  Am<", 2, "  Bm  F#/Bb Bm ", "  Bm  F#/A# Bm "},
        {"xx", "  F  C  F<", 1, "  F# C# F# ", "  F# C# F# "},
        {"xx", "  F  C  F<", -4, "  C# G# C# ", "  Db Ab Db "},
        {"C", "  C  F#dim  Bb<", 0, "  C  F#dim  Bb ", "  C  F#dim  Bb "},
        {"", "no chords at all<", 3, "no chords at all ", "no chords at all "},
    };
    for (const Row& row : rows) {
        CurrentSong fixed = song_in(row.key, {row.raw});
        CurrentSong by_key = song_in(row.key, {row.raw});
        transpose_song(fixed, row.offset, Spelling::fixed);
        transpose_song(by_key, row.offset, Spelling::by_key);
        SCOPED_TRACE(row.raw + " in " + row.key + " at " + std::to_string(row.offset));
        EXPECT_EQ(fixed.display[0].substr(0, row.fixed.size()), row.fixed);
        EXPECT_EQ(by_key.display[0].substr(0, row.by_key.size()), row.by_key);
    }
}

}  // namespace
}  // namespace lyro
