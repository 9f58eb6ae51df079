// The current-song printout on a recording surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print/page_layout.h"
#include "print/song_printout.h"
#include "tests/print/recording_surface.h"

namespace lyro {
namespace {

using test::Page;
using test::RecordingSurface;
using test::running_lines;

// A song as a load leaves it: line 0 a single blank, then `body`.
CurrentSong song_of(std::string title, const std::vector<std::string>& body) {
    CurrentSong song;
    song.title = std::move(title);
    song.raw.assign(1, " ");
    song.raw.insert(song.raw.end(), body.begin(), body.end());
    song.line_count = song.raw.size();
    if (song.display.size() < song.line_count) song.display.resize(song.line_count);
    std::copy(song.raw.begin(), song.raw.end(), song.display.begin());
    return song;
}

std::vector<std::string> numbered_lines(int count) {
    std::vector<std::string> lines;
    for (int i = 1; i <= count; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
}

TEST(SongPrintout, TitleStandsHalfAnInchDownAtTheCharacterCountedMiddle) {
    struct Row {
        int page_width;
        std::size_t title_chars;
        int x;
    };
    const Row rows[] = {
        {4800, 20, 2385},  // 2400 - 10 - 5
        {4800, 21, 2385},  // the half is cut to a whole number
        {4800, 0, 2395},   {4800, 99, 2346}, {4801, 20, 2385},
        {30, 20, 0},       // exactly 0
        {20, 20, 0},       // would be -5
        {0, 99, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "width " << row.page_width << ", " << row.title_chars
                                        << " characters");
        PrintMeasures m = test::test_measures();
        m.page_width = row.page_width;
        RecordingSurface surface(m);
        print_current_song(surface, OwnerWindow{}, song_of(std::string(row.title_chars, 'T'), {}));
        ASSERT_EQ(surface.pages.size(), 1u);
        ASSERT_FALSE(surface.pages[0].empty());
        EXPECT_EQ(surface.pages[0][0], (test::DrawnText{row.x, 300, std::string(row.title_chars, 'T')}));
    }
}

TEST(SongPrintout, CentringNeverOverflowsForAnyLength) {
    EXPECT_EQ(centred_x(4800, std::size_t(-1)), 0);
    EXPECT_EQ(centred_x(2'000'000'000, 0), 999'999'995);
}

TEST(SongPrintout, LinesStartTwoAndAHalfStepsDownAtTheLeftMargin) {
    RecordingSurface surface;
    print_current_song(surface, OwnerWindow{}, song_of("AMAZING GRACE", {"G<  C<", "Amazing"}));
    const Page expected = {
        {2389, 300, "AMAZING GRACE"},  // 2400 - 6 - 5
        {600, 280, " "},               // 1.5 steps (112 + 56), then one more
        {600, 392, "G<  C<"},
        {600, 504, "Amazing"},
    };
    ASSERT_EQ(surface.pages.size(), 1u);
    EXPECT_EQ(surface.pages[0], expected);
}

TEST(SongPrintout, ASongWithoutLinesPrintsItsTitleAlone) {
    CurrentSong song;
    song.title = "EMPTY";
    RecordingSurface surface;
    print_current_song(surface, OwnerWindow{}, song);
    ASSERT_EQ(surface.pages.size(), 1u);
    EXPECT_EQ(surface.pages[0], (Page{{2393, 300, "EMPTY"}}));
}

TEST(SongPrintout, ALongSongRunsOnOverContinuationPages) {
    // Line counts include line 0; 61 lines fill a page exactly.
    struct Row {
        int body_lines;
        std::vector<int> lines_per_page;
    };
    const Row rows[] = {
        {59, {60}}, {60, {61}}, {61, {61, 1}}, {121, {61, 61}}, {122, {61, 61, 1}},
        {249, {61, 61, 61, 61, 6}},  // past the 200 display lines a load keeps
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.body_lines << " body lines");
        const CurrentSong song = song_of("LONG", numbered_lines(row.body_lines));
        RecordingSurface surface;
        print_current_song(surface, OwnerWindow{}, song);
        ASSERT_EQ(surface.pages.size(), row.lines_per_page.size());

        const int title_x = 2400 - 2 - 5;
        int printed = 0;
        for (std::size_t p = 0; p < surface.pages.size(); ++p) {
            const int n = row.lines_per_page[p];
            Page expected{{title_x, 300, p == 0 ? "LONG" : "Continued....."}};
            const Page lines = running_lines(n, p == 0 ? 280 : 560, [&](int i) {
                return song.display[static_cast<std::size_t>(printed + i)];
            });
            expected.insert(expected.end(), lines.begin(), lines.end());
            EXPECT_EQ(surface.pages[p], expected) << "page " << p + 1;
            printed += n;
        }
        EXPECT_EQ(printed, row.body_lines + 1);
    }
}

// Texts per page, heading included.
std::vector<std::size_t> page_sizes(const RecordingSurface& surface) {
    std::vector<std::size_t> sizes;
    for (const Page& page : surface.pages) sizes.push_back(page.size());
    return sizes;
}

TEST(SongPrintout, APageTooShortForSixtyOneLinesBreaksBeforeLosingOne) {
    // 1000 pixels: the first page takes lines at 280 .. 840, a continuation
    // page those at 560 .. 896; the next would end below 1000.
    RecordingSurface surface(test::short_page_measures());
    print_current_song(surface, OwnerWindow{}, song_of("SHORT", numbered_lines(14)));
    EXPECT_EQ(page_sizes(surface), (std::vector<std::size_t>{1 + 6, 1 + 4, 1 + 4, 1 + 1}));
    EXPECT_EQ(surface.pages[0].back(), (test::DrawnText{600, 840, "line 5"}));
    EXPECT_EQ(surface.pages[1].back(), (test::DrawnText{600, 896, "line 9"}));
    EXPECT_EQ(surface.pages[3].back(), (test::DrawnText{600, 560, "line 14"}));

    // Lines taller than the page still print, one to a page.
    PrintMeasures tiny = test::test_measures();
    tiny.page_height = 50;
    RecordingSurface tiny_surface(tiny);
    print_current_song(tiny_surface, OwnerWindow{}, song_of("TINY", numbered_lines(2)));
    EXPECT_EQ(page_sizes(tiny_surface), (std::vector<std::size_t>{2, 2, 2}));
}

TEST(SongPrintout, RunsOneJobInTheOrderAPrinterNeeds) {
    RecordingSurface surface;
    print_current_song(surface, OwnerWindow{42}, song_of("ORDER", numbered_lines(70)));
    EXPECT_EQ(surface.document_name, "Songbook Printout");
    EXPECT_EQ(surface.owner, OwnerWindow{42});
    const std::vector<std::string> expected = {
        "create_font", "start_page", "select_font", "text",        "end_page", "start_page",
        "text",        "restore_font", "end_page",  "end",         "delete_font"};
    EXPECT_EQ(surface.calls, expected);
    EXPECT_TRUE(surface.job_released);
}

TEST(SongPrintout, CancellingTheDialogPrintsNothing) {
    RecordingSurface surface;
    surface.cancel = true;
    print_current_song(surface, OwnerWindow{}, song_of("KEPT", {"a line"}));
    EXPECT_EQ(surface.dialogs_shown, 1);
    EXPECT_TRUE(surface.pages.empty());
    EXPECT_TRUE(surface.calls.empty());
}

}  // namespace
}  // namespace lyro
