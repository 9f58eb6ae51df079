// The writer of a song body, its inverse for the editor, and the walk over
// the songbook in the reader's lines with the physical line ends kept.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "library/song_body.h"
#include "library/song_saving.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using Lines = std::vector<std::string>;

std::string written(std::string_view text) {
    std::string out;
    write_song_lines(EditorText("", text), out);
    return out;
}

TEST(WriteSongLines, SingleBlankLineThenEveryLineWithABlank) {
    struct Row {
        std::string_view text;
        std::string_view stored;
    };
    const Row rows[] = {
        {"", " \r\n \r\n"},
        {"a", " \r\na \r\n"},
        {"a\r\n", " \r\na \r\n \r\n"},
        {"a\r\n\r\nb", " \r\na \r\n \r\nb \r\n"},
        {"  x  ", " \r\n  x   \r\n"},
        // An LF alone still makes a line of the file; a CR alone is dropped.
        {"a\nb", " \r\na \r\nb \r\n"},
        {"a\rb\r", " \r\nab \r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(std::string(row.text)));
        EXPECT_EQ(written(row.text), row.stored);
    }
}

TEST(EditorTextFromBody, UndoesTheWriterAndKeepsHandWrittenLines) {
    struct Row {
        Lines body;
        std::string_view text;
    };
    const Row rows[] = {
        {{" ", "a "}, "a"},
        {{" ", "a ", " "}, "a\r\n"},
        {{" ", " ", " "}, "\r\n"},
        {{" "}, ""},
        {{}, ""},
        {{"hand", "  C  G<"}, "hand\r\n  C  G<"},
        {{"", "a"}, "\r\na"},
        {{"  ", "b  "}, " \r\nb "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.body));
        EXPECT_EQ(editor_text_from_body(row.body), row.text);
    }
}

class SongBody : public ::testing::Test {
protected:
    SaveResult save(std::string_view title, std::string_view text, bool new_song) {
        return save_song(files, paths, EditorText(std::string(title), text), new_song, current_title);
    }
    std::optional<std::string> load(std::string_view title) {
        return load_editor_text(files, paths.songbook(), title);
    }
    std::string book() const { return test::read_file(paths.songbook()); }

    test::ScratchDir dir;
    DataFiles paths{dir.path()};
    SystemFiles files;
    std::string current_title;
};

TEST_F(SongBody, AWrittenSongLoadsAndSavesBackToTheSameBytes) {
    const std::string texts[] = {
        "",
        "one",
        "one\r\n",
        "\r\n\r\n",
        "  lead and trail  ",
        "   C    G<\r\n  words under it\r\n\r\n   Am<\r\nend",
        std::string(989, 'x') + "\r\n" + std::string(990, 'y') + "\r\n" + std::string(991, 'z'),
        std::string(2000, 'w') + "\r\n" + std::string(4000, ' '),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 40));
        test::write_file(paths.songbook(), "::::: Before :::::\r\n \r\nb \r\n");
        ASSERT_EQ(save("Song", text, true), SaveResult::saved);
        test::write_file(paths.songbook(), book() + "::::: After :::::\r\n");  // in the middle
        const std::string before = book();

        const auto loaded = load("song");
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(*loaded, text);
        ASSERT_EQ(save(current_title, *loaded, false), SaveResult::saved);
        EXPECT_EQ(book(), before);
    }
}

TEST_F(SongBody, AHandWrittenSongGainsTheWritersBlanksOnceAndLosesNothing) {
    test::write_file(paths.songbook(), "::::: Hand :::::\r\nno blank line first\r\n  C  G<\r\n\r\nlast");
    const auto loaded = load("Hand");
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(*loaded, "no blank line first\r\n  C  G<\r\n\r\nlast");

    current_title = "Hand";
    ASSERT_EQ(save("Hand", *loaded, false), SaveResult::saved);
    const std::string once = book();
    EXPECT_EQ(once, "::::: HAND ::::: KEY=xx\r\n \r\nno blank line first \r\n  C  G< \r\n \r\nlast \r\n");

    ASSERT_EQ(load("Hand"), loaded);
    ASSERT_EQ(save("HAND", *loaded, false), SaveResult::saved);
    EXPECT_EQ(book(), once);
}

TEST_F(SongBody, LoadingCleansRichTextWordsAndKeepsOtherCharacters) {
    test::write_file(paths.songbook(), "::::: R :::::\r\n \r\n\\par Hello & welcome\\tab \r\n");
    EXPECT_EQ(load("R"), " Hello & welcome");
}

TEST_F(SongBody, ARichTextWordWhoseRemovalWouldMakeAMarkOrACommentStays) {
    const std::string song =
        "::::: R :::::\r\n \r\n::\\par::: \r\n#*#\\tab*# \r\n**\\now*** \r\n\\page;x \r\n";
    test::write_file(paths.songbook(), song + "::::: Next :::::\r\n");
    const auto loaded = load("R");
    EXPECT_EQ(loaded, "::\\par:::\r\n#*#\\tab*#\r\n**\\now***\r\n\\page;x");
    current_title = "R";
    ASSERT_EQ(save("R", *loaded, false), SaveResult::saved);
    EXPECT_EQ(book(), "::::: R ::::: KEY=xx" + song.substr(13) + "::::: Next :::::\r\n");
}

TEST_F(SongBody, NothingToLoadWithoutSongbookOrSong) {
    EXPECT_EQ(load("Any"), std::nullopt);
    test::write_file(paths.songbook(), "::::: One :::::\r\n#*#*#\r\n::::: Two :::::\r\n");
    EXPECT_EQ(load("Two"), std::nullopt);
    EXPECT_EQ(load(" One"), std::nullopt);  // a leading blank is part of a title
    EXPECT_EQ(load("one  "), "");
}

TEST(FindSongBody, TheFirstSongOfTheTitleWithWholeLinesAndNoComments) {
    const std::string long_line = std::string(1500, 'l') + ";" + std::string(600, 'm');
    const std::string bytes = "::::: A :::::\r\n"
                              "a1\r\n"
                              ";a note\r\n" +
                              long_line + "\r\n" +
                              "*****Label*****\r\n"
                              "::::: a :::::\r\n"
                              "second\r\n";
    EXPECT_EQ(find_song_body(Songbook(bytes), "a "), (Lines{"a1", long_line, "*****Label*****"}));
    EXPECT_EQ(find_song_body(Songbook(bytes), "b"), std::nullopt);
}

TEST(FindSongBody, ALineThatTheReaderCutsBeforeAMarkEndsTheBodyThere) {
    const std::string bytes = "::::: A :::::\r\n" + std::string(991, 'x') + "#*#*#\r\nafter\r\n";
    EXPECT_EQ(find_song_body(Songbook(bytes), "A"), (Lines{std::string(991, 'x')}));
}

}  // namespace
}  // namespace lyro
