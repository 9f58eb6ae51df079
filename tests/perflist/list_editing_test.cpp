// Transfer, Clear, Move Up, Move Dn and Delete, and how they keep the list
// box and the list in step.
#include <gtest/gtest.h>

#include <string>

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

// A list of `titles` with `keys`, shown in the list box, as after a load.
struct Desk {
    Desk(const Titles& titles, const Keys& keys) : list(test::make_list(titles, keys)) {
        for (const auto& t : titles) box.add(t);
    }
    PerfList list;
    FakeListBox box;
    ScriptedPrompter prompter;
    CountingBeeper beeper;
};

// Both sides hold `titles` and the places hold `keys`.
void expect_list(const Desk& d, const Titles& titles, const Keys& keys, int line) {
    SCOPED_TRACE(testing::Message() << "called from line " << line);
    EXPECT_EQ(d.box.items, titles);
    EXPECT_EQ(test::list_titles(d.list), titles);
    EXPECT_EQ(test::list_keys(d.list), keys);
}
#define EXPECT_LIST(d, titles, keys) expect_list(d, titles, keys, __LINE__)

TEST(Transfer, AppendsTheSongBoxTitleCutTo49WithKeyZero) {
    Desk d({"A"}, {5});
    d.box.select(0);
    transfer_title(d.list, d.box, std::string(60, 'x'));
    transfer_title(d.list, d.box, "");
    EXPECT_LIST(d, (Titles{"A", std::string(49, 'x'), ""}), (Keys{5, 0, 0}));
    EXPECT_EQ(d.box.selected, 0);
    EXPECT_TRUE(d.list.changed);
}

TEST(Transfer, ANewTitleNeverInheritsTheKeyOfAnEarlierEntry) {
    Desk d({"A", "B"}, {-3, 7});
    d.box.select(1);
    ASSERT_TRUE(delete_entry(d.list, d.box));
    transfer_title(d.list, d.box, "C");
    EXPECT_LIST(d, (Titles{"A", "C"}), (Keys{-3, 0}));
}

TEST(Transfer, BeyondThe32ndTheListBoxGrowsButNoPlaceIsTouched) {
    Desk d({}, {});
    d.list.entries[31].title = "KEEP";
    for (int i = 1; i <= 35; ++i) transfer_title(d.list, d.box, test::nth_title(i));
    EXPECT_EQ(d.box.count(), 35);
    EXPECT_EQ(d.list.length, 32);
    EXPECT_EQ(d.list.entries[31].title, "T32");
}

TEST(Clear, NoChangesNothingYesEmptiesBothAndZeroesEveryKey) {
    Desk d({"A", "B"}, {3, -4});
    d.list.entries[20].key_change = 9;  // a place beyond the list
    d.prompter.answers = {false};
    EXPECT_FALSE(clear_list(d.list, d.box, d.prompter));
    EXPECT_LIST(d, (Titles{"A", "B"}), (Keys{3, -4}));

    d.prompter.answers = {true};
    EXPECT_TRUE(clear_list(d.list, d.box, d.prompter));
    EXPECT_LIST(d, Titles{}, Keys{});
    for (const ListEntry& e : d.list.entries) EXPECT_EQ(e.key_change, 0);
    const test::Message asked{"Are you sure?", "Delete List"};
    EXPECT_EQ(d.prompter.questions, (std::vector<test::Message>{asked, asked}));
}

TEST(MoveUpAndDown, AtTheEdgesOrWithoutSelectionNothingChanges) {
    struct Case {
        int selected;
        bool up;
    };
    for (const Case c : {Case{0, true}, Case{-1, true}, Case{2, false}, Case{-1, false}}) {
        SCOPED_TRACE(testing::Message() << "selected " << c.selected << (c.up ? " up" : " down"));
        Desk d({"A", "B", "C"}, {1, 2, 3});
        d.box.select(c.selected);
        const bool moved =
            c.up ? move_up(d.list, d.box, d.beeper) : move_down(d.list, d.box, d.beeper);
        EXPECT_FALSE(moved);
        EXPECT_LIST(d, (Titles{"A", "B", "C"}), (Keys{1, 2, 3}));
        EXPECT_EQ(d.box.selected, c.selected);
        EXPECT_FALSE(d.list.changed);
        EXPECT_EQ(d.beeper.count, 0);
    }
}

TEST(MoveUpAndDown, SwapTitleAndKeyTogetherAndKeepTheMovedEntrySelected) {
    Desk d({"A", "B", "C"}, {1, 2, 3});
    d.box.select(1);
    EXPECT_TRUE(move_up(d.list, d.box, d.beeper));
    EXPECT_LIST(d, (Titles{"B", "A", "C"}), (Keys{2, 1, 3}));
    EXPECT_EQ(d.box.selected, 0);
    EXPECT_TRUE(d.list.changed);

    d.box.select(1);
    EXPECT_TRUE(move_down(d.list, d.box, d.beeper));
    EXPECT_LIST(d, (Titles{"B", "C", "A"}), (Keys{2, 3, 1}));
    EXPECT_EQ(d.box.selected, 2);
}

TEST(Delete, TheMiddleOfThreeLeavesTwoInOrderWithTheirKeysAndNoSelection) {
    Desk d({"A", "B", "C"}, {1, 2, 3});
    d.box.select(1);
    EXPECT_TRUE(delete_entry(d.list, d.box));
    EXPECT_LIST(d, (Titles{"A", "C"}), (Keys{1, 3}));
    EXPECT_EQ(d.box.selected, -1);
    EXPECT_TRUE(d.list.changed);
}

TEST(Delete, TheOnlyEntryLeavesAnEmptyListAndNothingSelectedChangesNothing) {
    Desk d({"A"}, {4});
    EXPECT_FALSE(delete_entry(d.list, d.box));
    EXPECT_LIST(d, Titles{"A"}, Keys{4});
    EXPECT_FALSE(d.list.changed);

    d.box.select(0);
    EXPECT_TRUE(delete_entry(d.list, d.box));
    EXPECT_LIST(d, Titles{}, Keys{});
    EXPECT_EQ(d.list.length, 0);
}

// The list box is what the user sees: a refill puts back exactly that,
// whatever the list held before.
TEST(KeepingInStep, ARefillKeepsTransferredTitlesAndNeverBringsBackClearedOnes) {
    Desk d({"OLD1", "OLD2"}, {2, 3});
    transfer_title(d.list, d.box, "NEW");
    d.box.select(2);
    EXPECT_TRUE(move_up(d.list, d.box, d.beeper));
    EXPECT_LIST(d, (Titles{"OLD1", "NEW", "OLD2"}), (Keys{2, 0, 3}));

    d.prompter.answers = {true};
    clear_list(d.list, d.box, d.prompter);
    transfer_title(d.list, d.box, "X");
    transfer_title(d.list, d.box, "Y");
    d.box.select(0);
    EXPECT_TRUE(delete_entry(d.list, d.box));
    EXPECT_LIST(d, Titles{"Y"}, Keys{0});
}

TEST(KeepingInStep, AfterALoadWithGapsTheOperationsActOnTheListBoxTitles) {
    // SONG01=A and SONG03=C: three places, two titles in the list box.
    Desk d({"A", "STALE", "C"}, {1, 2, 3});
    d.box.items = {"A", "C"};
    d.box.select(1);
    EXPECT_TRUE(move_up(d.list, d.box, d.beeper));
    EXPECT_LIST(d, (Titles{"C", "A"}), (Keys{2, 1}));
}

TEST(Overflow, TitlesBeyondThe32ndStayInTheListBoxAndNeverTakeAPlace) {
    Titles all;
    for (int i = 1; i <= 35; ++i) all.push_back(test::nth_title(i));
    Desk d(Titles(all.begin(), all.begin() + 32), {});
    d.box.items = all;

    for (int s : {32, 34}) {
        d.box.select(s);
        EXPECT_FALSE(move_up(d.list, d.box, d.beeper));
    }
    d.box.select(31);
    EXPECT_FALSE(move_down(d.list, d.box, d.beeper));
    EXPECT_EQ(d.beeper.count, 3);
    EXPECT_EQ(d.box.items, all);

    d.box.select(0);
    EXPECT_TRUE(move_down(d.list, d.box, d.beeper));
    EXPECT_EQ(d.box.count(), 35);
    EXPECT_EQ(d.box.items[34], "T35");

    d.box.select(33);  // T34: in the list box only
    EXPECT_TRUE(delete_entry(d.list, d.box));
    EXPECT_EQ(d.box.count(), 34);
    EXPECT_EQ(d.box.items[33], "T35");
    EXPECT_EQ(d.list.length, 32);

    d.list.entries[31].key_change = 6;
    d.box.select(5);
    EXPECT_TRUE(delete_entry(d.list, d.box));
    EXPECT_EQ(d.box.count(), 33);
    EXPECT_EQ(d.list.length, 32);
    EXPECT_EQ(d.list.entries[31].title, "T33");
    EXPECT_EQ(d.list.entries[31].key_change, 0);  // T33 had no key of its own
    EXPECT_EQ(d.list.entries[30].key_change, 6);  // T32 kept its key
}

}  // namespace
}  // namespace lyro
