// Starting a run: the list box becomes the list, the state points at the
// first song, the viewer opens.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "perflist/perf_list.h"
#include "tests/perflist/list_fakes.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::CountingBeeper;
using test::FakeListBox;
using test::Keys;
using test::ScriptedPrompter;
using test::Titles;

struct Stage {
    PerfList list;
    ViewPosition app;
    FakeListBox box;
    ScriptedPrompter prompter;
    CountingBeeper beeper;
    std::vector<std::string> shown;
    ShowInViewer show = [this](std::string_view title) { shown.emplace_back(title); };
    RunSurroundings ui{box, prompter, beeper, show};
};

TEST(Run, FromTheStartSelectsTheFirstTitleAndOpensTheViewerOnIt) {
    Stage s;
    s.list = test::make_list({"OLD"}, {-5});
    s.box.items = {"A", "B", "C"};
    s.box.select(2);
    s.app.single_song_mode = 1;
    EXPECT_TRUE(run_from_start(s.list, s.app, s.ui));
    EXPECT_EQ(s.box.selected, 0);
    EXPECT_EQ(test::list_titles(s.list), (Titles{"A", "B", "C"}));
    EXPECT_EQ(s.app.single_song_mode, 0);
    EXPECT_EQ(s.app.start_position, 0);
    EXPECT_EQ(s.app.list_position, 0);
    EXPECT_EQ(s.app.key_offset, -5);
    EXPECT_EQ(s.shown, Titles{"A"});
    EXPECT_TRUE(s.prompter.notices.empty());
}

TEST(Run, FromTheSelectionStartsThereOrAtTheFirstWhenNothingIsSelected) {
    for (int selected : {-1, 2}) {
        Stage s;
        s.list = test::make_list({"A", "B", "C"}, {1, 2, 3});
        s.box.items = {"A", "B", "C"};
        s.box.select(selected);
        EXPECT_TRUE(run_from_selection(s.list, s.app, s.ui));
        const int start = selected < 0 ? 0 : selected;
        EXPECT_EQ(s.app.start_position, start);
        EXPECT_EQ(s.app.list_position, start);
        EXPECT_EQ(s.app.key_offset, start + 1);
        EXPECT_EQ(s.shown, Titles{s.box.items[static_cast<std::size_t>(start)]});
        EXPECT_EQ(s.box.selected, selected);
    }
}

TEST(Run, KeyChangesBeyondTwelveHalfStepsBecomeZero) {
    Stage s;
    s.list = test::make_list({"A", "B", "C", "D", "E", "F"},
                             {13, -13, 12, -12, 2147483647, -2147483647 - 1});
    s.box.items = {"A", "B", "C", "D", "E", "F"};
    EXPECT_TRUE(run_from_start(s.list, s.app, s.ui));
    EXPECT_EQ(test::list_keys(s.list), (Keys{0, 0, 12, -12, 0, 0}));
    EXPECT_EQ(s.app.key_offset, 0);
}

TEST(Run, ThirtyFiveTitlesWarnOnceAndRunTheFirst32) {
    Stage s;
    for (int i = 1; i <= 35; ++i) s.box.add(test::nth_title(i));
    EXPECT_TRUE(run_from_start(s.list, s.app, s.ui));
    EXPECT_EQ(s.prompter.notices,
              (std::vector<test::Message>{
                  {"Warning, 32 Songs Maximum - remainder truncated", "RUN Performance"}}));
    EXPECT_EQ(s.list.length, 32);
    EXPECT_EQ(s.list.entries[31].title, "T32");
    EXPECT_EQ(s.box.count(), 35);
}

TEST(Run, ASelectionBeyondThe32ndOrAnEmptyListBoxBeepsAndOpensNothing) {
    Stage s;
    for (int i = 1; i <= 34; ++i) s.box.add(test::nth_title(i));
    s.box.select(33);
    EXPECT_FALSE(run_from_selection(s.list, s.app, s.ui));
    EXPECT_EQ(s.beeper.count, 1);

    s.list = test::make_list({"STALE"}, {4});
    s.box.reset();
    EXPECT_FALSE(run_from_start(s.list, s.app, s.ui));
    EXPECT_FALSE(run_from_selection(s.list, s.app, s.ui));
    EXPECT_EQ(s.beeper.count, 3);
    EXPECT_TRUE(s.shown.empty());
    EXPECT_EQ(s.list.length, 0);
    EXPECT_EQ(s.app.single_song_mode, 1);
    EXPECT_EQ(entry_at(s.list, 0), nullptr);
}

TEST(Run, EveryTitleThatBeginsWithABlankBeepsOnce) {
    Stage s;
    s.box.items = {" LABEL", "SONG", " OTHER", ""};
    EXPECT_TRUE(run_from_start(s.list, s.app, s.ui));
    EXPECT_EQ(s.beeper.count, 2);
    EXPECT_EQ(s.shown, Titles{" LABEL"});
}

TEST(Run, AfterClearYesEveryEntryStartsWithKeyZero) {
    Stage s;
    s.list = test::make_list({"A", "B"}, {5, -7});
    s.box.items = {"A", "B"};
    ASSERT_TRUE(clear_list(s.list, s.box, s.prompter));
    transfer_title(s.list, s.box, "A");
    transfer_title(s.list, s.box, "B");
    EXPECT_TRUE(run_from_start(s.list, s.app, s.ui));
    EXPECT_EQ(test::list_keys(s.list), (Keys{0, 0}));
}

TEST(EntryAtIndex, ReadsOnlyInsideTheList) {
    PerfList list = test::make_list({"A", "B"}, {3, -1});
    for (int i : {-1, 2, 31, 32, 1000}) EXPECT_EQ(entry_at(list, i), nullptr) << i;
    ASSERT_NE(entry_at(list, 1), nullptr);
    EXPECT_EQ(entry_at(list, 1)->title, "B");
    EXPECT_EQ(entry_at(list, 1)->key_change, -1);
    entry_at(list, 0)->key_change = 7;  // the viewer writes a key change back
    EXPECT_EQ(list.entries[0].key_change, 7);
    list.length = 40;  // never read beyond the 32 places, whatever the length says
    EXPECT_EQ(entry_at(list, 32), nullptr);
}

}  // namespace
}  // namespace lyro
