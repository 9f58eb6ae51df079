// The song viewer's arithmetic: key steps, the magnify table, line
// positions, the top line's limit, scrolling and stepping through a run.
#include "view/song_view.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>

#include "tests/test_files.h"

namespace lyro {
namespace {

struct KeyRow {
    int from;
    int down;
    int up;
};

TEST(SongViewKeys, StepsWrapToZeroPastEitherEnd) {
    const KeyRow rows[] = {
        {0, -1, 1}, {-10, -11, -9}, {-11, 0, -10}, {11, 10, 12}, {12, 11, 0}, {-12, 0, -11},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE("from " + std::to_string(row.from));
        EXPECT_EQ(key_step_down(row.from), row.down);
        EXPECT_EQ(key_step_up(row.from), row.up);
    }
}

TEST(SongViewKeys, TwelveStepsDownAndThirteenUpComeBackToZero) {
    int key = 0;
    for (int i = 0; i < 11; ++i) key = key_step_down(key);
    EXPECT_EQ(key, -11);
    EXPECT_EQ(key_step_down(key), 0);
    key = 0;
    for (int i = 0; i < 12; ++i) key = key_step_up(key);
    EXPECT_EQ(key, 12);
    EXPECT_EQ(key_step_up(key), 0);
}

TEST(SongViewMagnify, TableAndEnds) {
    const TextSize expected[] = {{12, 9}, {13, 10}, {14, 11}, {16, 12},
                                 {18, 13}, {19, 14}, {20, 15}};
    for (int level = 0; level <= 6; ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        EXPECT_EQ(magnify_size(level).height, expected[level].height);
        EXPECT_EQ(magnify_size(level).width, expected[level].width);
    }
    EXPECT_EQ(magnify_up(6), 6);
    EXPECT_EQ(magnify_up(2), 3);
    EXPECT_EQ(magnify_down(0), 0);
    EXPECT_EQ(magnify_down(2), 1);
    // A level that somehow left the range still reads a row of the table.
    EXPECT_EQ(magnify_size(-3).height, 12);
    EXPECT_EQ(magnify_size(99).height, 20);
}

TEST(SongViewMagnify, AScreenOfMoreDotsPerInchShowsEverythingLarger) {
    // 150 %: half as large again, rounded; 300 %: three times.
    EXPECT_EQ(magnify_size(2, 144).height, 21);
    EXPECT_EQ(magnify_size(2, 144).width, 17);  // 16.5
    EXPECT_EQ(magnify_size(6, 288).height, 60);
    EXPECT_EQ(magnify_size(6, 288).width, 45);
    EXPECT_EQ(magnify_size(6, 96).height, 20);
    // The text's top edge and the lines below it grow alike.
    EXPECT_EQ(line_y(0, 0, 21, 144), 30);
    EXPECT_EQ(line_y(2, 0, 21, 144), 72);
    EXPECT_EQ(scaled_to_dpi(kTextLeft, 144), 5);  // 4.5
    // 1000 pixels at 288 dpi hold (1000 - 60) / 60 = 15 lines of the largest
    // size: a song of 40 lines scrolls to the top line that shows its last.
    EXPECT_EQ(top_line_limit(40, 60, 1000, 288), 40 - 15);
    // No resolution, however wrong, overflows anything.
    EXPECT_GT(magnify_size(6, std::numeric_limits<int>::max()).height, 0);
    EXPECT_GT(magnify_size(6, 0).height, 0);
    EXPECT_GT(magnify_size(6, -5).height, 0);
}

TEST(SongViewLines, PositionsFollowTheTopLine) {
    EXPECT_EQ(line_y(0, 0, 14), 20);
    EXPECT_EQ(line_y(1, 0, 14), 34);  // the song's own first line
    EXPECT_EQ(line_y(21, 21, 20), 20);
    EXPECT_EQ(line_y(0, 3, 14), -22);  // above the top: clipped away
}

TEST(SongViewLimit, SongsThatFitKeepTwentyOne) {
    EXPECT_EQ(top_line_limit(0, 14, 600), 21);
    EXPECT_EQ(top_line_limit(2, 14, 600), 21);
    // 580 pixels hold 41 lines of 14: 62 lines need a top line of 21 exactly.
    EXPECT_EQ(top_line_limit(62, 14, 600), 21);
    EXPECT_EQ(top_line_limit(63, 14, 600), 22);
}

// With the top line at the limit the song's last line lies wholly inside
// the text area, and one line higher it would not: every line can be seen
// and no more than needed is scrolled.
TEST(SongViewLimit, BringsTheLastLineExactlyIntoView) {
    for (int height : {12, 14, 20}) {
        for (int client : {300, 601, 1000}) {
            for (std::size_t count : {40u, 100u, 201u, 400u}) {
                SCOPED_TRACE(std::to_string(height) + "/" + std::to_string(client) + "/" +
                             std::to_string(count));
                const int limit = top_line_limit(count, height, client);
                const int last_bottom = line_y(count - 1, limit, height) + height;
                EXPECT_LE(last_bottom, client);
                if (limit > kShortSongTopLimit) {
                    EXPECT_GT(last_bottom + height, client);
                }
            }
        }
    }
}

TEST(SongViewLimit, ATinyAreaStillReachesTheLastLine) {
    EXPECT_EQ(top_line_limit(100, 20, 10), 99);
    EXPECT_EQ(top_line_limit(100, 0, 600), 21);
}

struct ScrollRow {
    int line;
    int top;
    int request;
    int thumb;
    int limit;
    int expected;
};

// A 400-pixel area at 14 pixels a line: a page is 28 lines.
TEST(SongViewScroll, EveryRequestCode) {
    const ScrollRow rows[] = {
        {__LINE__, 5, 0, 0, 21, 4},     // line up
        {__LINE__, 0, 0, 0, 21, 0},     // line up at the top
        {__LINE__, 5, 1, 0, 21, 6},     // line down
        {__LINE__, 21, 1, 0, 21, 21},   // line down at the limit
        {__LINE__, 21, 1, 0, 60, 22},   // ... of a long song
        {__LINE__, 30, 2, 0, 60, 3},    // page up: 30 - 28 + 1
        {__LINE__, 10, 2, 0, 60, 0},    // page up past the top
        {__LINE__, 0, 3, 0, 21, 21},    // page down: 27, limited
        {__LINE__, 0, 3, 0, 60, 27},    // page down in a long song
        {__LINE__, 3, 5, 17, 21, 17},   // thumb tracking
        {__LINE__, 3, 5, 40, 30, 30},   // thumb beyond the limit
        {__LINE__, 3, 4, 17, 21, 3},    // thumb released: no change
        {__LINE__, 3, 6, 0, 21, 3},     // top
        {__LINE__, 3, 7, 0, 21, 3},     // bottom
        {__LINE__, 3, 8, 0, 21, 3},     // end of scroll
        {__LINE__, 3, 99, 0, 21, 3},    // unknown
        {__LINE__, 40, 8, 0, 21, 21},   // any request limits the top line
    };
    for (const ScrollRow& row : rows) {
        SCOPED_TRACE("row at line " + std::to_string(row.line));
        EXPECT_EQ(scrolled_top_line(row.top, row.request, row.thumb, 400, 14, row.limit),
                  row.expected);
    }
}

TEST(SongViewRun, SingleSongModeBeepsAndDoesNotStep) {
    ViewPosition app;
    app.single_song_mode = 1;
    test::CountingBeeper beeper;
    EXPECT_EQ(stepped_list_position(app, 5, RunStep::next, beeper), -1);
    EXPECT_EQ(stepped_list_position(app, 5, RunStep::previous, beeper), -1);
    EXPECT_EQ(beeper.count, 2);
}

TEST(SongViewRun, StepsStayInsideTheListWithoutABeep) {
    ViewPosition app;
    app.single_song_mode = 0;
    test::CountingBeeper beeper;
    app.list_position = 0;
    EXPECT_EQ(stepped_list_position(app, 3, RunStep::previous, beeper), 0);
    EXPECT_EQ(stepped_list_position(app, 3, RunStep::next, beeper), 1);
    app.list_position = 2;
    EXPECT_EQ(stepped_list_position(app, 3, RunStep::next, beeper), 2);
    EXPECT_EQ(stepped_list_position(app, 3, RunStep::previous, beeper), 1);
    app.list_position = 0;
    EXPECT_EQ(stepped_list_position(app, 1, RunStep::next, beeper), 0);
    EXPECT_EQ(beeper.count, 0);
}

}  // namespace
}  // namespace lyro
