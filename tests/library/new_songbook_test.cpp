// The songbook that a first start creates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/new_songbook.h"
#include "library/song_body.h"
#include "tests/platform/faulty_files.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

std::vector<std::string> lines_of(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string_view::npos; from = at + 2) {
        lines.emplace_back(text.substr(from, at - from));
    }
    EXPECT_EQ(from, text.size()) << "every line ends with CR LF";
    return lines;
}

std::size_t leading_blanks(std::string_view line) {
    return std::min(line.find_first_not_of(' '), line.size());
}

TEST(NewSongbook, CommentsFreeTextAndTheExampleSongsHeader) {
    const auto lines = lines_of(new_songbook_text());
    ASSERT_EQ(lines.size(), 4U + 19U);
    EXPECT_EQ(lines[0].front(), ';');
    EXPECT_EQ(lines[1].front(), ';');
    EXPECT_EQ(lines[2], "Example Song:");
    EXPECT_EQ(lines[3].substr(0, 6), "::::: ");
    EXPECT_EQ(lines[3].substr(lines[3].size() - 6), " :::::");
    EXPECT_EQ(lines[3].find("KEY"), std::string::npos);
}

TEST(NewSongbook, TheExampleBodyHasTheLayoutOfTheFormat) {
    enum Kind { chord, lyric, blanks };
    struct Row {
        Kind kind;
        std::size_t blanks;  // leading blanks, or the whole line's blanks
    };
    const Row layout[19] = {
        {chord, 18}, {lyric, 10}, {chord, 18}, {lyric, 10}, {chord, 18}, {lyric, 10}, {chord, 18},
        {lyric, 10}, {blanks, 1}, {lyric, 10}, {lyric, 10}, {lyric, 10}, {lyric, 10}, {blanks, 11},
        {chord, 19}, {lyric, 10}, {chord, 19}, {lyric, 18}, {blanks, 11},
    };
    const auto lines = lines_of(new_songbook_text());
    for (std::size_t i = 0; i < 19; ++i) {
        const std::string& line = lines[4 + i];
        SCOPED_TRACE(::testing::Message() << "body line " << i + 1 << ": '" << line << "'");
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), ' ');
        switch (layout[i].kind) {
            case blanks:
                EXPECT_EQ(line, std::string(layout[i].blanks, ' '));
                break;
            case chord:
                EXPECT_EQ(leading_blanks(line), layout[i].blanks);
                EXPECT_EQ(line.substr(line.size() - 2), "< ");
                EXPECT_NE(line[line.size() - 3], ' ');  // '<' right after the last chord
                for (char c : line) EXPECT_TRUE(c == ' ' || c == '<' || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'));
                break;
            case lyric:
                EXPECT_EQ(leading_blanks(line), layout[i].blanks);
                EXPECT_EQ(line.find('<'), std::string::npos);
                EXPECT_GT(line.size(), layout[i].blanks + 1);
                break;
        }
    }
}

TEST(NewSongbook, IsCreatedWholeAndNeverOverwritesASongbook) {
    test::ScratchDir dir;
    const DataFiles paths{dir.path()};
    SystemFiles files;
    ASSERT_EQ(create_songbook(files, paths), CreateResult::created);
    EXPECT_EQ(test::read_file(paths.songbook()), new_songbook_text());
    EXPECT_FALSE(test::file_exists(paths.temp()));

    test::write_file(paths.songbook(), "my songs");
    EXPECT_EQ(create_songbook(files, paths), CreateResult::already_exists);
    EXPECT_EQ(test::read_file(paths.songbook()), "my songs");
    EXPECT_FALSE(create_message(CreateResult::already_exists).empty());
}

TEST(NewSongbook, AFolderThatTakesNoFileIsReported) {
    test::ScratchDir dir;
    const DataFiles paths{dir.path()};
    test::FaultyFiles files;
    files.fail("write", "temp.lyr");
    EXPECT_EQ(create_songbook(files, paths), CreateResult::not_written);
    EXPECT_FALSE(test::file_exists(paths.songbook()));
    EXPECT_FALSE(test::file_exists(paths.temp()));
    EXPECT_FALSE(create_message(CreateResult::not_written).empty());
}

TEST(NewSongbook, TheExampleSongLoadsIntoTheEditor) {
    const auto body = find_song_body(Songbook(new_songbook_text()), "morning harbour");
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(body->size(), 19U);
}

}  // namespace
}  // namespace lyro
