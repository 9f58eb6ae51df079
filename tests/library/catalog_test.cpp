// The catalog scan: catalog, song box, count label and list page together.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "library/catalog.h"
#include "remote/remote_page.h"
#include "tests/library/recording_song_box.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using Texts = std::vector<std::string>;

constexpr std::string_view kCaption = "<B>Songs:</B> <BR>";
constexpr std::string_view kClosing = "</SELECT><BR>";

class CatalogTest : public ::testing::Test {
protected:
    void scan(std::string_view songbook_bytes, bool show_hidden = false) {
        test::write_file(songbook, songbook_bytes);
        scan_file(show_hidden);
    }
    void scan_file(bool show_hidden = false) {
        {
        ListPageWriter list_page(page);
        build_catalog(songbook, show_hidden, catalog, {box, count, beeper, list_page});
    }
    }

    // The entry lines of the list page, between the caption and the closing.
    Texts page_entries() const {
        const std::string text = test::read_file(page);
        const std::size_t from = text.find(kCaption);
        const std::size_t to = text.find(kClosing);
        if (from == std::string::npos || to == std::string::npos) {
            ADD_FAILURE() << "not a finished list page:\n" << text;
            return {};
        }
        Texts lines;
        std::string_view rest(text.data() + from + kCaption.size(), to - from - kCaption.size());
        while (!rest.empty()) {
            const std::size_t end = rest.find("\r\n");
            EXPECT_NE(end, std::string_view::npos) << "an entry without CR LF";
            lines.emplace_back(rest.substr(0, end));
            rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
        }
        return lines;
    }

    test::ScratchDir dir;
    std::string songbook = dir.file("songbook.lyr");
    std::string page = dir.file("index.html");
    Catalog catalog;
    test::RecordingSongBox box;
    test::RecordingLabel count{"old count"};
    test::CountingBeeper beeper;
};

constexpr std::string_view kThreeSongs =
    "free text before the first song\r\n"
    "::::: Amazing Grace ::::: KEY=xx\r\n"
    " \r\n"
    "G   <\r\n"
    "::::: /Hidden Hymn ::::: KEY=xx\r\n"
    "line\r\n"
    ":::::Third:::::\r\n"
    "line\r\n";

TEST_F(CatalogTest, HiddenSongsAreCataloguedButNotListedUnlessAskedFor) {
    scan(kThreeSongs);
    EXPECT_EQ(catalog.entries, (Texts{"Amazing Grace ", "/Hidden Hymn ", "Third"}));
    EXPECT_EQ(count.text, "3");
    EXPECT_EQ(box.items, (Texts{"Amazing Grace ", "Third"}));
    EXPECT_EQ(page_entries(), (Texts{"1 - Amazing Grace ", "2 - Third"}));

    scan(kThreeSongs, true);
    EXPECT_EQ(catalog.entries, (Texts{"Amazing Grace ", "/Hidden Hymn ", "Third"}));
    EXPECT_EQ(count.text, "3");
    EXPECT_EQ(box.items, (Texts{"Amazing Grace ", "/Hidden Hymn ", "Third"}));
    EXPECT_EQ(page_entries(), (Texts{"1 - Amazing Grace ", "2 - /Hidden Hymn ", "3 - Third"}));
    EXPECT_EQ(box.resets, 2);
}

TEST_F(CatalogTest, LongTitlesAreCutInTheCatalogOnly) {
    const std::string title(60, 'T');
    scan("::::: " + title + "\n");
    EXPECT_EQ(catalog.entries, Texts{std::string(49, 'T')});
    EXPECT_EQ(box.items, Texts{title});
    EXPECT_EQ(page_entries(), Texts{"1 - " + title});
}

TEST_F(CatalogTest, LabelLinesAddEntriesButNoPageLines) {
    scan("***** Hymns *****\n"
         "*****\n"
         "::::: Song\n"
         "a lyric with *****Chorus** inside\n"
         "*******Tail\n");
    EXPECT_EQ(catalog.entries, (Texts{" Hymns ", "", "Song", "Chorus", "Tail"}));
    EXPECT_EQ(box.items, (Texts{" Hymns ", "", "Song", "Chorus", "Tail"}));
    EXPECT_EQ(count.text, "5");
    EXPECT_EQ(page_entries(), Texts{"1 - Song"});
}

TEST_F(CatalogTest, LabelsAreListedInTheBoxWhateverTheHiddenFlag) {
    scan("*****/Hidden label\n");
    EXPECT_EQ(box.items, Texts{"/Hidden label"});
    const std::string long_label(70, 'L');
    scan("*****" + long_label + "\n");
    EXPECT_EQ(catalog.entries, Texts{std::string(49, 'L')});
    EXPECT_EQ(box.items, Texts{long_label});
}

TEST_F(CatalogTest, AHeaderIsALabelOnlyWhenItsTitleHoldsTheMark) {
    scan("::::: Songs *****Part One ::::: KEY=xx\n"
         "::::: Plain ::::: *****Not a label\n");
    EXPECT_EQ(catalog.entries, (Texts{"Songs *****Part One ", "Part One ", "Plain "}));
    EXPECT_EQ(box.items, (Texts{"Songs *****Part One ", "Part One ", "Plain "}));
    EXPECT_EQ(page_entries(), (Texts{"1 - Songs *****Part One ", "2 - Plain "}));
}

TEST_F(CatalogTest, NothingAfterTheEndMarkerCounts) {
    scan("::::: One\n"
         "xx #*#*# xx\n"
         "::::: Two\n"
         "***** Label\n");
    EXPECT_EQ(catalog.entries, Texts{"One"});
    EXPECT_EQ(box.items, Texts{"One"});
    EXPECT_EQ(page_entries(), Texts{"1 - One"});
    EXPECT_EQ(count.text, "1");
}

TEST_F(CatalogTest, EndMarkerCountsBeforeTheHeaderOnTheSameLine) {
    scan("::::: One #*#*#\n");
    EXPECT_TRUE(catalog.entries.empty());
    EXPECT_EQ(count.text, "0");
}

TEST_F(CatalogTest, DuplicateTitlesGiveTwoEntries) {
    scan("::::: Same\n::::: Same\n");
    EXPECT_EQ(catalog.entries, (Texts{"Same", "Same"}));
    EXPECT_EQ(box.items, (Texts{"Same", "Same"}));
    EXPECT_EQ(page_entries(), (Texts{"1 - Same", "2 - Same"}));
}

TEST_F(CatalogTest, CommentedHeadersAreInvisible) {
    scan(";::::: Commented\n ;::::: Shown\n");
    EXPECT_EQ(catalog.entries, Texts{"Shown"});
}

TEST_F(CatalogTest, AnEmptySongbookGivesAnEmptyCatalogAndACountOfZero) {
    for (std::string_view bytes : {std::string_view(""), std::string_view(";c\nfree text\n")}) {
        SCOPED_TRACE(bytes);
        catalog.entries = {"stale"};
        box.items = {"stale"};
        scan(bytes);
        EXPECT_TRUE(catalog.entries.empty());
        EXPECT_TRUE(box.items.empty());
        EXPECT_EQ(count.text, "0");
        EXPECT_EQ(page_entries(), Texts{});
    }
}

TEST_F(CatalogTest, AMissingSongbookLeavesTheCountAndAHeaderOnlyPage) {
    catalog.entries = {"stale"};
    box.items = {"stale"};
    scan_file();
    EXPECT_TRUE(catalog.entries.empty());
    EXPECT_TRUE(box.items.empty());
    EXPECT_EQ(count.text, "old count");
    EXPECT_EQ(count.writes, 0);
    const std::string text = test::read_file(page);
    ASSERT_GE(text.size(), kCaption.size());
    EXPECT_EQ(text.substr(text.size() - kCaption.size()), kCaption);
    EXPECT_EQ(text.find(kClosing), std::string::npos);
}

TEST_F(CatalogTest, APageThatCannotBeWrittenLeavesTheRestWorking) {
    page = dir.file("no/such/folder/index.html");
    scan(kThreeSongs);
    EXPECT_EQ(catalog.entries.size(), 3u);
    EXPECT_EQ(box.items.size(), 2u);
    EXPECT_EQ(count.text, "3");
    EXPECT_FALSE(test::file_exists(page));
}

// The real box shows nothing new until its fill is finished: every scan
// must finish it once, after its last title, whether the songbook ends at
// its end marker, holds nothing or is missing.
TEST_F(CatalogTest, EveryScanFinishesTheBoxOnceAfterItsLastTitle) {
    struct Row {
        const char* what;
        std::string_view bytes;  // nullptr: no songbook at all
        std::size_t items;
    };
    const Row rows[] = {
        {"songs and a label, then the end marker",
         "::::: A ::::: KEY=xx\r\n***** L *****\r\n#*#*#\r\n::::: After ::::: KEY=xx\r\n", 2},
        {"no end marker", kThreeSongs, 2},
        {"nothing", "", 0},
        {"missing", std::string_view(), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        box = test::RecordingSongBox();
        if (row.bytes.data() == nullptr) {
            std::filesystem::remove(songbook);
            scan_file();
        } else {
            scan(row.bytes);
        }
        EXPECT_EQ(box.resets, 1);
        EXPECT_EQ(box.finishes, 1);
        EXPECT_EQ(box.added_after_finish, 0);
        EXPECT_EQ(box.items.size(), row.items);
    }
}

// More than the thousand entries that a fixed table would hold.
TEST_F(CatalogTest, AHugeSongbookIsCataloguedWhole) {
    std::string bytes;
    for (int i = 0; i < 1500; ++i) {
        bytes += "::::: Song " + std::to_string(i) + " ::::: KEY=xx\r\n line\r\n";
        if (i % 3 == 0) bytes += "***** Label " + std::to_string(i) + "\r\n";
    }
    scan(bytes);
    EXPECT_EQ(catalog.entries.size(), 2000u);
    EXPECT_EQ(count.text, "2000");
    EXPECT_EQ(box.items.size(), 2000u);
    EXPECT_EQ(catalog.entries.back(), "Song 1499 ");
    const Texts entries = page_entries();
    ASSERT_EQ(entries.size(), 1500u);
    EXPECT_EQ(entries.back(), "1500 - Song 1499 ");
}

TEST_F(CatalogTest, ALongHeaderIsReadAsTheLineReaderCutsIt) {
    scan("::::: " + std::string(1200, 'x') + "\n");
    EXPECT_EQ(beeper.count, 1);
    ASSERT_EQ(box.items.size(), 1u);
    EXPECT_EQ(box.items[0], std::string(991 - 6, 'x'));
}

TEST(ClearDisplayLines, EmptiesEveryDisplayLineAndKeepsTheCount) {
    CurrentSong song;
    song.line_count = 2;
    song.raw = {" ", "raw"};
    song.display.assign(250, "text");
    clear_display_lines(song);
    EXPECT_EQ(song.display, Texts(250));
    EXPECT_EQ(song.line_count, 2u);
    EXPECT_EQ(song.raw, (Texts{" ", "raw"}));
}

}  // namespace
}  // namespace lyro
