#include "songtool/chordpro/line_wrapping.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "songtool/chordpro/chord_placement.h"

namespace lyro {
namespace {

using Pieces = std::vector<std::pair<std::string, std::string>>;

Pieces wrapped(const PlacedLine& line, std::size_t width) {
    Pieces pieces;
    for (const PlacedLine& p : wrap_placed(line, width)) pieces.emplace_back(p.chords, p.lyric);
    return pieces;
}

// Each chord with the lyric word it stands over, in order.
std::vector<std::string> chords_over_words(std::string_view inline_line) {
    std::vector<std::string> out;
    for (std::size_t i = inline_line.find('['); i != std::string_view::npos;
         i = inline_line.find('[', i + 1)) {
        const std::size_t close = inline_line.find(']', i);
        const std::size_t word_end = inline_line.find_first_of(" [", close + 1);
        out.emplace_back(inline_line.substr(i, word_end == std::string_view::npos
                                                   ? std::string_view::npos
                                                   : word_end - i));
    }
    return out;
}

TEST(LineWrapping, ALineThatFitsComesBackAsItIs) {
    const PlacedLine line = place_chords("[G]Amazing [C]grace is it");
    EXPECT_EQ(wrapped(line, 20), (Pieces{{line.chords, line.lyric}}));
    // The '<' needs a column of the chord line only: 19 lyric characters
    // under a chord line of 9 and its '<' fit 19 columns, not 18.
    EXPECT_EQ(wrapped(line, 19).size(), 1u);
    EXPECT_EQ(wrapped(line, 18).size(), 2u);
    EXPECT_EQ(wrapped({"GGGGG<", "x"}, 6).size(), 1u);
    EXPECT_EQ(wrapped({"GGGGGG<", "x"}, 6).size(), 2u);
    EXPECT_EQ(wrapped({"", std::string(19, 'x')}, 19).size(), 1u);
}

TEST(LineWrapping, BreaksBetweenWordsKeepingEachChordOverItsCharacter) {
    EXPECT_EQ(wrapped(place_chords("[G]Amazing [C]grace how [D]sweet"), 16),
              (Pieces{{"G       C<", "Amazing grace"}, {"    D<", "how sweet"}}));
    EXPECT_EQ(wrapped({"", "one two three"}, 8), (Pieces{{"", "one two"}, {"", "three"}}));
    // A word wider than a line is cut at the width.
    EXPECT_EQ(wrapped({"", "abcdefghij"}, 4), (Pieces{{"", "abcd"}, {"", "efgh"}, {"", "ij"}}));
    // Chords alone past the lyric, and chords that are wider than a line.
    EXPECT_EQ(wrapped({"            Am     F<", "la"}, 10),
              (Pieces{{"", "la"}, {"Am     F<", ""}}));
}

TEST(LineWrapping, APieceThatWouldBeACommentGetsABlankInFront) {
    EXPECT_EQ(wrapped({"", "aaaa ;bbbb"}, 5), (Pieces{{"", "aaaa"}, {"", " ;bbb"}, {"", "b"}}));
}

TEST(LineWrapping, RandomLinesKeepTheirChordsOverTheSameWordsWithinTheWidth) {
    std::mt19937 random(16);
    const std::string words[] = {"la", "Amazing", "grace", "how", "x", "sweet", "the", ";sound"};
    const std::string chords[] = {"G", "Am7", "Bb/F", "C#m", "N.C."};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int n = 1 + static_cast<int>(random() % 40);
        for (int w = 0; w < n; ++w) {
            if (random() % 3 == 0) text += "[" + chords[random() % 5] + "]";
            text += words[random() % 8];
            text += ' ';
        }
        text.pop_back();
        const std::size_t width = 12 + random() % 90;
        SCOPED_TRACE(text + " at " + std::to_string(width));
        const PlacedLine line = place_chords(text);
        std::vector<std::string> joined;
        for (const PlacedLine& piece : wrap_placed(line, width)) {
            EXPECT_LE(piece.chords.size(), width);
            EXPECT_LE(piece.lyric.size(), width);
            for (std::string& w : chords_over_words(inline_chords(piece.chords, piece.lyric))) {
                joined.push_back(std::move(w));
            }
        }
        EXPECT_EQ(joined, chords_over_words(inline_chords(line.chords, line.lyric)));
    }
}

}  // namespace
}  // namespace lyro
