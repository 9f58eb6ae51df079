// The songbook printout on a recording surface, over songbook files in a
// scratch folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/catalog_sort.h"
#include "print/songbook_printout.h"
#include "tests/print/recording_surface.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::DrawnText;
using test::Page;
using test::RecordingSurface;
using test::running_lines;

// y of the index heading, of the first index line, of a song's first line
// and of the first line of a continuation page (line step 112).
constexpr int kHeadingY = 112;
constexpr int kFirstIndexY = 392;
constexpr int kFirstSongY = 504;
constexpr int kFirstContinuedY = 560;
constexpr int kHeadingX = 2388;  // 2400 - 7 - 5 for "Songbook Print"

std::string header(std::string_view title) { return "::::: " + std::string(title) + " ::::: KEY=xx\r\n"; }

std::string body(int lines, std::string_view stem = "line ") {
    std::string text;
    for (int i = 1; i <= lines; ++i) text += std::string(stem) + std::to_string(i) + "\r\n";
    return text;
}

struct Printout {
    test::ScratchDir dir;
    Catalog catalog;
    CurrentSong song;
    ViewPosition position;
    test::RecordingLabel status;
    test::CountingBeeper beeper;
    RecordingSurface surface;

    explicit Printout(std::string_view book, std::vector<std::string> entries = {}) {
        test::write_file(dir.file("songbook.lyr"), book);
        catalog.entries = std::move(entries);
    }
    void print() {
        print_songbook(surface, OwnerWindow{7},
                       {catalog, dir.file("songbook.lyr"), song, position, status, beeper});
    }
};

// The texts of a song's first page: its title line, then `lines`.
Page song_page(std::string_view title_line, const std::vector<std::string>& lines) {
    const int x = 2400 - static_cast<int>(title_line.size() / 2) - 5;
    Page page{{x, 300, std::string(title_line)}};
    const Page drawn = running_lines(static_cast<int>(lines.size()), kFirstSongY,
                                     [&](int i) { return lines[static_cast<std::size_t>(i)]; });
    page.insert(page.end(), drawn.begin(), drawn.end());
    return page;
}

TEST(SongbookPrintout, AnEmptyCatalogPrintsTheHeadingAlone) {
    Printout p("");
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 1u);
    EXPECT_EQ(p.surface.pages[0], (Page{{kHeadingX, kHeadingY, "Songbook Print"}}));
    EXPECT_EQ(p.surface.document_name, "Songbook Printout");
    EXPECT_EQ(p.surface.owner, OwnerWindow{7});
    const std::vector<std::string> calls = {"start_page", "create_font", "select_font", "text",
                                            "end_page",   "restore_font", "end", "delete_font"};
    EXPECT_EQ(p.surface.calls, calls);
}

TEST(SongbookPrintout, SixtyOneTitlesLeaveASecondIndexPageWithTheHeadingAlone) {
    std::vector<std::string> titles;
    for (int i = 1; i <= 61; ++i) titles.push_back("Song " + std::to_string(100 + i));
    Printout p("", titles);
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 2u + 61u);

    Page index{{kHeadingX, kHeadingY, "Songbook Print"}};
    const Page lines = running_lines(61, kFirstIndexY, [&](int i) {
        return index_line(static_cast<std::size_t>(i + 1), titles[static_cast<std::size_t>(i)]);
    });
    index.insert(index.end(), lines.begin(), lines.end());
    EXPECT_EQ(p.surface.pages[0], index);
    EXPECT_EQ(p.surface.pages[0][1].text, "  1 Song 101");
    EXPECT_EQ(p.surface.pages[0][61].text, " 61 Song 161");
    EXPECT_EQ(p.surface.pages[1], (Page{{kHeadingX, kHeadingY, "Songbook Print"}}));
    // Not in the (empty) songbook: title line and blank line only.
    EXPECT_EQ(p.surface.pages[2], song_page("SONG 101 -- 1", {"    "}));
    EXPECT_EQ(p.surface.pages[62], song_page("SONG 161 -- 61", {"    "}));
}

TEST(SongbookPrintout, IndexNumbersTakeThreePlacesAndGrowBeyond) {
    EXPECT_EQ(index_line(7, "Abide"), "  7 Abide");
    EXPECT_EQ(index_line(42, ""), " 42 ");
    EXPECT_EQ(index_line(999, "x"), "999 x");
    EXPECT_EQ(index_line(1000, "x"), "1000 x");
}

TEST(SongbookPrintout, SortedCatalogNumbersIndexAndSongPagesAlike) {
    const std::string book = header("zion's hill") + body(1, "z") + header("Amazing Grace") +
                             body(2, "a") + header("/Hidden One") + body(1, "h");
    Printout p(book, {"zion's hill", "Amazing Grace", "/Hidden One"});
    sort_catalog(p.catalog);
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 4u);
    const Page index = {{kHeadingX, kHeadingY, "Songbook Print"},
                        {600, kFirstIndexY, "  1 /Hidden One"},
                        {600, kFirstIndexY + 112, "  2 Amazing Grace"},
                        {600, kFirstIndexY + 224, "  3 zion's hill"}};
    EXPECT_EQ(p.surface.pages[0], index);
    EXPECT_EQ(p.surface.pages[1], song_page("/HIDDEN ONE -- 1", {"h1", "    "}));
    EXPECT_EQ(p.surface.pages[2], song_page("AMAZING GRACE -- 2", {"a1", "a2", "    "}));
    EXPECT_EQ(p.surface.pages[3], song_page("ZION'S HILL -- 3", {"z1", "    "}));
}

TEST(SongbookPrintout, SongsOfFiftyNineToSixtyOneLinesBreakAfterTheSixtyFirst) {
    struct Row {
        int stored;
        std::vector<int> lines_per_page;  // the added blank line included
    };
    const Row rows[] = {{59, {60}}, {60, {61, 0}}, {61, {61, 1}}, {122, {61, 61, 1}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.stored << " stored lines");
        Printout p(header("Long") + body(row.stored), {"Long"});
        p.print();
        ASSERT_EQ(p.surface.pages.size(), 1u + row.lines_per_page.size());

        std::vector<std::string> all;
        for (int i = 1; i <= row.stored; ++i) all.push_back("line " + std::to_string(i));
        all.push_back("    ");
        std::size_t printed = 0;
        for (std::size_t page = 0; page < row.lines_per_page.size(); ++page) {
            const int n = row.lines_per_page[page];
            Page expected{{2400 - 4 - 5, 300, page == 0 ? "LONG -- 1" : "Continued....."}};
            const Page lines = running_lines(n, page == 0 ? kFirstSongY : kFirstContinuedY,
                                             [&](int i) { return all[printed + static_cast<std::size_t>(i)]; });
            expected.insert(expected.end(), lines.begin(), lines.end());
            EXPECT_EQ(p.surface.pages[1 + page], expected) << "song page " << page + 1;
            printed += static_cast<std::size_t>(n);
        }
        EXPECT_EQ(printed, all.size());
    }
}

TEST(SongbookPrintout, ASongOfMoreThan199LinesPrintsWhole) {
    Printout p(header("Epic") + body(250), {"Epic"});
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 1u + 5u);  // 251 lines: 4 x 61 + 7
    EXPECT_EQ(p.surface.pages[5].size(), 1u + 7u);
    EXPECT_EQ(p.surface.pages[5][6].text, "line 250");
    EXPECT_EQ(p.surface.pages[5][7].text, "    ");
    EXPECT_EQ(p.song.line_count, 251u);
    EXPECT_GE(p.song.display.size(), 251u);
    EXPECT_GE(p.song.raw.size(), 251u);
}

TEST(SongbookPrintout, PagesTooShortForSixtyOneLinesBreakBeforeLosingOne) {
    // 1000 pixels: index lines at 392 .. 840, a song's first page 504 .. 840,
    // a continuation page 560 .. 896.
    Printout p(header("Short") + body(8), {"Short", "b", "c", "d", "e", "f"});
    p.surface = RecordingSurface(test::short_page_measures());
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 2u + 3u + 5u);
    EXPECT_EQ(p.surface.pages[0].size(), 1u + 5u);
    EXPECT_EQ(p.surface.pages[0].back(), (DrawnText{600, 840, "  5 e"}));
    EXPECT_EQ(p.surface.pages[1], (Page{{kHeadingX, kHeadingY, "Songbook Print"},
                                        {600, kFirstIndexY, "  6 f"}}));
    EXPECT_EQ(p.surface.pages[2].size(), 1u + 4u);
    EXPECT_EQ(p.surface.pages[2].back(), (DrawnText{600, 840, "line 4"}));
    EXPECT_EQ(p.surface.pages[3].size(), 1u + 4u);
    EXPECT_EQ(p.surface.pages[3].back(), (DrawnText{600, 896, "line 8"}));
    EXPECT_EQ(p.surface.pages[4], (Page{{2400 - 5 - 5, 300, "Continued....."},
                                        {600, kFirstContinuedY, "    "}}));
}

TEST(SongbookPrintout, TheSameTitleTwicePrintsTheFirstSongTwice) {
    const std::string book = header("Twice") + body(1, "first") + header("TWICE ") + body(1, "second");
    Printout p(book, {"Twice", "TWICE "});
    sort_catalog(p.catalog);
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 3u);
    EXPECT_EQ(p.surface.pages[1], song_page("TWICE -- 1", {"first1", "    "}));
    EXPECT_EQ(p.surface.pages[2], song_page("TWICE -- 2", {"first1", "    "}));
}

TEST(SongbookPrintout, HiddenSongsAndLabelEntriesAllGetPages) {
    // The label line stands inside the first song's body: a line of it there.
    const std::string book = "free text\r\n" + header("/Secret") + "s1\r\n***** Chorus *****\r\n" +
                             header("Open") + "o1\r\n#*#*#\r\n" + header("After End") + "x\r\n";
    Printout p(book, {"/Secret", " Chorus ", "Open", "After End"});
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 5u);
    EXPECT_EQ(p.surface.pages[1], song_page("/SECRET -- 1", {"s1", "***** Chorus *****", "    "}));
    EXPECT_EQ(p.surface.pages[2], song_page(" CHORUS -- 2", {"    "}));
    EXPECT_EQ(p.surface.pages[3], song_page("OPEN -- 3", {"o1", "    "}));
    EXPECT_EQ(p.surface.pages[4], song_page("AFTER END -- 4", {"    "}));
    EXPECT_EQ(p.status.text, "Song Not Found");
}

TEST(SongbookPrintout, SongLinesAreCleanedCutAndNotTransposed) {
    const std::string long_line(150, 'L');
    const std::string book = header("Clean") + "\\par G<  Am<\r\n" + long_line + "\r\n" +
                             "keep\\tab\r\n" + header("Next") + "n\r\n";
    Printout p(book, {"Clean"});
    p.position.key_offset = 5;
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 2u);
    EXPECT_EQ(p.surface.pages[1],
              song_page("CLEAN -- 1", {" G<  Am<", std::string(100, 'L'), "keep", "    "}));
    EXPECT_EQ(p.status.text, " ");
}

TEST(SongbookPrintout, AnUnreadableSongbookGivesTitleLinesAndBlankLines) {
    Printout p("", {"gone", "Lost"});
    std::filesystem::remove(p.dir.file("songbook.lyr"));
    p.print();
    ASSERT_EQ(p.surface.pages.size(), 3u);
    EXPECT_EQ(p.surface.pages[1], song_page("GONE -- 1", {"    "}));
    EXPECT_EQ(p.surface.pages[2], song_page("LOST -- 2", {"    "}));
    EXPECT_EQ(p.status.text, "Song Not Found");
}

TEST(SongbookPrintout, LeavesTheLastEntrysSongAsItsWorkingStorage) {
    const std::string book = header("One") + body(3) + header("two") + body(2, "t");
    Printout p(book, {"One", "two"});
    p.position.single_song_mode = 0;
    p.position.key_offset = -3;
    p.print();
    EXPECT_EQ(p.song.title, "TWO");
    ASSERT_EQ(p.song.line_count, 3u);
    EXPECT_EQ(p.song.display[0], "t1");
    EXPECT_EQ(p.song.display[1], "t2");
    EXPECT_EQ(p.song.display[2], "    ");
    EXPECT_EQ(p.position.single_song_mode, 1);
    EXPECT_EQ(p.position.key_offset, 0);
    EXPECT_EQ(p.position.start_position, 1);
    EXPECT_EQ(p.position.list_position, 1);
}

// Past the last entry's lines, each display line keeps the text of the last
// entry that reached it, as loading every entry in turn leaves them; an
// entry not found reaches only line 0.
TEST(SongbookPrintout, DisplayLinesPastTheLastSongKeepWhatTheLongestLaterEntryLeft) {
    const std::string book =
        header("A") + body(6, "a") + header("B") + body(3, "b") + header("C") + body(4, "c");
    Printout p(book, {"A", "C", "B", "missing", "B"});
    p.print();
    ASSERT_EQ(p.song.line_count, 4u);
    const std::vector<std::string> expected = {"b1", "b2", "b3", "    ", "    ", "a6", "    "};
    ASSERT_GE(p.song.display.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(p.song.display[i], expected[i]) << i;
}

TEST(SongbookPrintout, CancellingTheDialogPrintsNothingAndChangesNothing) {
    Printout p(header("One") + body(3), {"One"});
    p.surface.cancel = true;
    p.song.title = "BEFORE";
    p.position.key_offset = 4;
    p.print();
    EXPECT_EQ(p.surface.dialogs_shown, 1);
    EXPECT_TRUE(p.surface.pages.empty());
    EXPECT_TRUE(p.surface.calls.empty());
    EXPECT_EQ(p.song.title, "BEFORE");
    EXPECT_EQ(p.position.key_offset, 4);
    EXPECT_EQ(p.status.writes, 0);
}

}  // namespace
}  // namespace lyro
