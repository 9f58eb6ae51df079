// Finding a song by its title and loading it into the current song.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/song_loading.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using Texts = std::vector<std::string>;

class SongLoadingTest : public ::testing::Test {
protected:
    // Loads `title` from a songbook of the given bytes.
    void load(std::string_view bytes, std::string title) {
        test::write_file(songbook, bytes);
        load_file(std::move(title));
    }
    void load_file(std::string title) {
        song.title = std::move(title);
        load_current_song(songbook, song, status, beeper);
    }

    // The loaded lines, checked against the invariants every caller relies on.
    Texts lines() const {
        EXPECT_EQ(song.raw.size(), song.line_count);
        EXPECT_GE(song.display.size(), std::max(kDisplaySlots, song.line_count));
        for (std::size_t i = 0; i < song.line_count && i < song.raw.size(); ++i) {
            EXPECT_EQ(song.display[i], song.raw[i]) << "display line " << i;
        }
        return song.raw;
    }

    test::ScratchDir dir;
    std::string songbook = dir.file("songbook.lyr");
    CurrentSong song;
    test::RecordingLabel status;
    test::CountingBeeper beeper;
};

constexpr std::string_view kBook =
    "free text\r\n"
    "::::: Amazing Grace ::::: KEY=xx\r\n"
    " \r\n"
    "G      D <\r\n"
    "Amazing grace \r\n"
    "::::: Second ::::: KEY=xx\r\n"
    "second body\r\n"
    "#*#*#\r\n"
    "::::: After The End\r\n"
    "never\r\n";

TEST_F(SongLoadingTest, ASongEndsAtTheNextHeader) {
    load(kBook, "Amazing Grace");
    EXPECT_EQ(lines(), (Texts{" ", " ", "G      D <", "Amazing grace "}));
    EXPECT_EQ(song.line_count, 4u);
    EXPECT_EQ(status.text, " ");
    EXPECT_EQ(song.title, "AMAZING GRACE");
}

TEST_F(SongLoadingTest, ASongEndsAtTheEndMarkerOrTheEndOfTheFile) {
    load(kBook, "second");
    EXPECT_EQ(lines(), (Texts{" ", "second body"}));
    load("::::: Last\nfirst\n\nlast without line end", "LAST");
    EXPECT_EQ(lines(), (Texts{" ", "first", "", "last without line end"}));
}

TEST_F(SongLoadingTest, TitlesMatchWhateverTheCaseAndTrailingBlanks) {
    struct Case {
        const char* title;
        bool found;
    } const cases[] = {
        {"Amazing Grace", true},  {"AMAZING GRACE   ", true}, {"amazing grace ", true},
        {" Amazing Grace", false}, {"Amazing", false},         {"Amazing Grace!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        load(kBook, c.title);
        EXPECT_EQ(status.text, c.found ? " " : "Song Not Found");
        EXPECT_EQ(song.line_count, c.found ? 4u : 1u);
    }
}

TEST_F(SongLoadingTest, ASongBehindTheEndMarkerIsNeverFound) {
    load(kBook, "After The End");
    EXPECT_EQ(status.text, "Song Not Found");
    EXPECT_EQ(lines(), Texts{" "});
}

TEST_F(SongLoadingTest, TheFirstOfTwoSongsWithOneTitleWins) {
    load("::::: Twin\nfirst\n::::: TWIN \nsecond\n", "twin");
    EXPECT_EQ(lines(), (Texts{" ", "first"}));
}

TEST_F(SongLoadingTest, AnEmptyBodyLoadsAsLineZeroAlone) {
    load("::::: Empty\n::::: Next\nx\n", "Empty");
    EXPECT_EQ(lines(), Texts{" "});
    EXPECT_EQ(status.text, " ");
}

TEST_F(SongLoadingTest, ATitleCutTo49CharactersIsNotFound) {
    const std::string title(60, 'T');
    load("::::: " + title + " ::::: KEY=xx\nbody\n", title.substr(0, 49));
    EXPECT_EQ(status.text, "Song Not Found");
    load_file(title);
    EXPECT_EQ(lines(), (Texts{" ", "body"}));
}

TEST_F(SongLoadingTest, LinesAreCleanedOfRichTextWordsAndCutTo100Characters) {
    const std::string long_line(150, 'x');
    load("::::: Song\n\\par Amazing\nPraise & Worship\\tab\n\\par" + long_line + "\n", "Song");
    EXPECT_EQ(lines(), (Texts{" ", " Amazing", "Praise & Worship", std::string(100, 'x')}));
}

TEST_F(SongLoadingTest, LabelLinesAndCommentsInsideABody) {
    load("::::: Song\n***** Chorus\n;hidden\nend\n", "Song");
    EXPECT_EQ(lines(), (Texts{" ", "***** Chorus", "end"}));
}

// A fixed table of 200 lines would drop everything past line 199.
TEST_F(SongLoadingTest, ASongOfMoreThan199BodyLinesIsLoadedWhole) {
    std::string bytes = "::::: Long\r\n";
    for (int i = 1; i <= 450; ++i) bytes += "line " + std::to_string(i) + "\r\n";
    load(bytes, "Long");
    const Texts loaded = lines();
    ASSERT_EQ(loaded.size(), 451u);
    EXPECT_EQ(loaded[199], "line 199");
    EXPECT_EQ(loaded[450], "line 450");
    EXPECT_EQ(song.display.size(), 451u);
}

TEST_F(SongLoadingTest, ALoadReplacesTheSongButLeavesUnusedDisplayLines) {
    load(kBook, "Amazing Grace");
    song.display[10] = "beyond";
    load(kBook, "Second");
    EXPECT_EQ(lines(), (Texts{" ", "second body"}));
    EXPECT_EQ(song.display[2], "G      D <");
    EXPECT_EQ(song.display[10], "beyond");
}

TEST_F(SongLoadingTest, AnUnopenableSongbookLeavesLineZeroAloneAndSaysSo) {
    load(kBook, "Amazing Grace");
    status.text = " ";
    songbook = dir.file("missing.lyr");
    load_file("amazing grace ");
    EXPECT_EQ(lines(), Texts{" "});
    EXPECT_EQ(song.line_count, 1u);
    EXPECT_EQ(song.display[0], " ");
    EXPECT_EQ(status.text, "Song Not Found");
    EXPECT_EQ(song.title, "AMAZING GRACE");
}

TEST_F(SongLoadingTest, ASongWrittenByTheEditorLoadsWithItsBlanks) {
    load("::::: New Song ::::: KEY=xx\r\n \r\nC    G < \r\nla la \r\n", "New Song");
    EXPECT_EQ(lines(), (Texts{" ", " ", "C    G < ", "la la "}));
}

}  // namespace
}  // namespace lyro
