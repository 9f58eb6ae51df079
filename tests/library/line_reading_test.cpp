// The shared line reader and the title operations of the songbook format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/title_ops.h"
#include "tests/library/reference_reader.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

// All lines that a reader sees in the given bytes.
std::vector<std::string> read_lines(std::string_view bytes, int* beeps = nullptr) {
    test::ReferenceRead read = test::model_read(bytes);
    if (beeps) *beeps = read.beeps;
    return read.lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, LfAndCrLfReadTheSameAndCrVanishesAnywhere) {
    EXPECT_EQ(read_lines("one\ntwo\n"), (Lines{"one", "two"}));
    EXPECT_EQ(read_lines("one\r\ntwo\r\n"), (Lines{"one", "two"}));
    EXPECT_EQ(read_lines("o\rne\r\r\ntwo"), (Lines{"one", "two"}));
}

TEST(LineReader, EmptyLinesAndALastLineWithoutLineEnd) {
    EXPECT_EQ(read_lines("\n\nlast"), (Lines{"", "", "last"}));
    EXPECT_EQ(read_lines(""), Lines{});
    EXPECT_EQ(read_lines("\r"), Lines{});
}

TEST(LineReader, CommentLinesAreHiddenOnlyWithSemicolonFirst) {
    EXPECT_EQ(read_lines(";hidden\n ;shown\nx;y\n;last"), (Lines{" ;shown", "x;y"}));
    EXPECT_EQ(read_lines("\r;after a CR\n"), Lines{});
}

TEST(LineReader, CtrlZEndsTheReadableText) {
    EXPECT_EQ(read_lines("one\ntw\x1ao\nthree\n"), (Lines{"one", "tw"}));
    EXPECT_EQ(read_lines("\x1a" "one\n"), Lines{});
}

TEST(LineReader, LinesUpTo989CharactersPassWithoutBeep) {
    int beeps = 0;
    const std::string l989(989, 'x');
    EXPECT_EQ(read_lines(l989 + "\nnext\n", &beeps), (Lines{l989, "next"}));
    EXPECT_EQ(beeps, 0);
}

TEST(LineReader, A990CharacterLineIsCutWithItsLfAndABeep) {
    int beeps = 0;
    const std::string l990(990, 'x');
    EXPECT_EQ(read_lines(l990 + "\nnext\n", &beeps), (Lines{l990 + "\n", "next"}));
    EXPECT_EQ(beeps, 1);
}

TEST(LineReader, LongLinesSplitInto991CharacterPiecesOneBeepEach) {
    int beeps = 0;
    std::string text(991, 'a');
    text += std::string(991, 'b');
    text += ";tail\n";
    const Lines lines = read_lines(text, &beeps);
    // A piece that starts with ';' after a cut is a comment like any line.
    EXPECT_EQ(lines, (Lines{std::string(991, 'a'), std::string(991, 'b')}));
    EXPECT_EQ(beeps, 2);
}

TEST(LineReader, CrDoesNotCountTowardsTheCut) {
    int beeps = 0;
    std::string text;
    for (int i = 0; i < 989; ++i) text += "x\r";
    const Lines lines = read_lines(text + "\n", &beeps);
    EXPECT_EQ(lines, (Lines{std::string(989, 'x')}));
    EXPECT_EQ(beeps, 0);
}

TEST(LineReader, CommentCutByTheLimitIsDeliveredAsAPiece) {
    int beeps = 0;
    const std::string comment = ";" + std::string(995, 'c') + "\nnext\n";
    const Lines lines = read_lines(comment, &beeps);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], ";" + std::string(990, 'c'));
    EXPECT_EQ(lines[1], "ccccc");
    EXPECT_EQ(lines[2], "next");
    EXPECT_EQ(beeps, 1);
}

TEST(LineReader, LinesAcrossTheReadBufferBoundary) {
    std::string text;
    Lines expected;
    for (int i = 0; i < 20000; ++i) {
        std::string line = "line " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 37), 'z');
        text += line + ((i % 3) ? "\r\n" : "\n");
        expected.push_back(line);
    }
    EXPECT_EQ(read_lines(text), expected);
}

TEST(HeaderTitle, CutsTheTitleOutOfEveryHeaderForm) {
    EXPECT_EQ(header_title("::::: Amazing Grace ::::: KEY=xx"), "Amazing Grace ");
    EXPECT_EQ(header_title("::::::::   Amazing Grace:::::"), "Amazing Grace");
    EXPECT_EQ(header_title("::::: Amazing Grace"), "Amazing Grace");
    EXPECT_EQ(header_title("free text ::::: Title : x"), "Title ");
    // The first character is always part of the title, even a colon.
    EXPECT_EQ(header_title("::::: ::x"), ":");
    EXPECT_EQ(header_title(":::::  ::::: KEY=xx"), ":");
    EXPECT_EQ(header_title(":::::"), "");
    EXPECT_EQ(header_title(":::::    "), "");
    EXPECT_EQ(header_title("no header here"), "");
}

TEST(FoldTitle, FoldsCaseAndTrailingBlanksButNotLeadingOnes) {
    EXPECT_EQ(folded("amazing grace "), "AMAZING GRACE");
    EXPECT_EQ(folded("AMAZING GRACE"), "AMAZING GRACE");
    EXPECT_NE(folded(" amazing grace"), folded("AMAZING GRACE"));
    EXPECT_EQ(folded(" "), " ");
    EXPECT_EQ(folded("a  \r\n "), "A");
    EXPECT_EQ(folded("\xe9t\xe9 "), "\xe9T\xe9");
}

TEST(FoldTitle, OtherControlBytesArePassedOverButCutBehindABlank) {
    EXPECT_EQ(folded("abc\x01"), "ABC\x01");
    EXPECT_EQ(folded("abc \x01"), "ABC");
    EXPECT_EQ(folded("abc\x7f "), "ABC\x7f");
}

TEST(StripRtfWords, FirstOccurrenceOfEachWordInSearchOrder) {
    std::string line = "\\pard one \\par two \\par three";
    strip_rtf_words(line);
    EXPECT_EQ(line, " one  two \\par three");

    line = "\\nowidctlpar\\now x\\f0 y\\tab\\page z\\tab";
    strip_rtf_words(line);
    EXPECT_EQ(line, " x y z\\tab");

    line = "\\par Amazing";
    strip_rtf_words(line);
    EXPECT_EQ(line, " Amazing");
}

TEST(StripRtfWords, KeepsTheLinesOwnAmpersands) {
    std::string line = "Praise & Worship\\tab";
    strip_rtf_words(line);
    EXPECT_EQ(line, "Praise & Worship");
    line = "&&\\pa&r&";
    strip_rtf_words(line);
    EXPECT_EQ(line, "&&\\pa&r&");
}

}  // namespace
}  // namespace lyro
