// Save List and Load List against real files in a scratch folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "perflist/perf_list.h"
#include "perflist/songlist_file.h"
#include "tests/perflist/list_fakes.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::CountingBeeper;
using test::FakeListBox;
using test::Keys;
using test::Message;
using test::ScriptedPrompter;
using test::Titles;

const Message kRewrite{"There appears to already be a saved list\rDo you wish to write over it?",
                       "Rewrite Song List"};
const Message kCouldNotSave{"Could Not Save Songlist", "SAVE SONGLIST"};
const Message kCouldNotLoad{"Could Not Load Songlist", "LOAD SONGLIST"};
const Message kLoadSure{"Are you sure?", "Load Song list"};
using Messages = std::vector<Message>;

struct Folder {
    Folder() { files.dir = dir.path(); }
    bool save() { return save_songlist(list, box, prompter, files); }
    bool load() { return load_songlist(list, box, prompter, beeper, files); }
    std::string saved() const { return test::read_file(files.songlist()); }
    bool temp_left() const { return test::file_exists(files.songlist() + ".new"); }

    test::ScratchDir dir;
    DataFiles files;
    PerfList list;
    FakeListBox box;
    ScriptedPrompter prompter;
    CountingBeeper beeper;
};

const std::string kTwoSongs =
    ";SONG LIST FILE\r\n"
    "SONG01=amazing grace\r\nKEYCHANGE01=-3\r\n"
    "SONG02=Be Thou\r\nKEYCHANGE02=0\r\n"
    ";END";

TEST(SaveSonglist, WritesTheListBoxTitlesWithTheirKeysAndLoadsBackInCapitals) {
    Folder f;
    f.list = test::make_list({"stale"}, {-3});
    f.list.changed = true;
    f.box.items = {"amazing grace", "Be Thou"};
    EXPECT_TRUE(f.save());
    EXPECT_EQ(f.saved(), kTwoSongs);
    EXPECT_TRUE(f.prompter.questions.empty());
    EXPECT_FALSE(f.list.changed);
    EXPECT_FALSE(f.temp_left());

    Folder g;
    test::write_file(g.files.songlist(), f.saved());
    g.box.items = {"SHOWN BEFORE"};
    EXPECT_TRUE(g.load());
    EXPECT_EQ(g.box.items, (Titles{"AMAZING GRACE", "BE THOU"}));
    EXPECT_EQ(test::list_titles(g.list), g.box.items);
    EXPECT_EQ(test::list_keys(g.list), (Keys{-3, 0}));
}

TEST(SaveSonglist, OverAnExistingListAsksFirstAndNoWritesNothingButClearsTheFlag) {
    Folder f;
    test::write_file(f.files.songlist(), "old list");
    f.box.items = {"A"};
    f.list.changed = true;
    f.prompter.answers = {false};
    EXPECT_FALSE(f.save());
    EXPECT_EQ(f.saved(), "old list");
    EXPECT_FALSE(f.list.changed);
    EXPECT_EQ(f.list.length, 0);  // the list box was not taken in
    EXPECT_EQ(f.prompter.questions, Messages{kRewrite});

    f.prompter.answers = {true};
    EXPECT_TRUE(f.save());
    EXPECT_EQ(f.saved(), ";SONG LIST FILE\r\nSONG01=A\r\nKEYCHANGE01=0\r\n;END");
}

TEST(SaveSonglist, OnlyThe32FirstTitlesAreSavedWithAWarning) {
    Folder f;
    for (int i = 1; i <= 35; ++i) transfer_title(f.list, f.box, test::nth_title(i));
    EXPECT_TRUE(f.save());
    EXPECT_EQ(f.prompter.notices,
              (Messages{{"Warning, 32 Songs Maximum - remainder truncated", "SAVE SONGLIST"}}));
    const std::string text = f.saved();
    EXPECT_NE(text.find("SONG32=T32\r\nKEYCHANGE32=0\r\n;END"), std::string::npos);
    EXPECT_EQ(text.find("SONG33"), std::string::npos);
    EXPECT_EQ(f.box.count(), 35);
}

// Whatever fails, the saved list stays as it was and no scratch file stays.
TEST(SaveSonglist, AFailedWriteLeavesTheOldFileUntouched) {
    Folder f;
    test::write_file(f.files.songlist(), kTwoSongs);
    std::filesystem::create_directory(f.files.songlist() + ".new");  // the new file cannot be made
    f.box.items = {"NEW"};
    EXPECT_FALSE(f.save());
    EXPECT_EQ(f.prompter.notices, Messages{kCouldNotSave});
    EXPECT_EQ(f.saved(), kTwoSongs);
    EXPECT_FALSE(f.list.changed);
    EXPECT_TRUE(std::filesystem::is_directory(f.files.songlist() + ".new"));  // not ours to remove
}

TEST(SaveSonglist, AFailedReplaceLeavesTheOldPlaceAndNoScratchFile) {
    Folder f;
    std::filesystem::create_directory(f.files.songlist());  // cannot be replaced by a file
    test::write_file(f.files.songlist() + "/inside", "kept");
    f.box.items = {"NEW"};
    EXPECT_FALSE(f.save());
    EXPECT_EQ(f.prompter.notices, Messages{kCouldNotSave});
    EXPECT_EQ(test::read_file(f.files.songlist() + "/inside"), "kept");
    EXPECT_FALSE(f.temp_left());
}

TEST(LoadSonglist, WithAListInMemoryAsksAndNoChangesNothing) {
    Folder f;
    test::write_file(f.files.songlist(), kTwoSongs);
    f.list = test::make_list({"X", "Y"}, {1, 2});
    f.box.items = {"X", "Y"};
    f.prompter.answers = {false};
    EXPECT_FALSE(f.load());
    EXPECT_EQ(f.box.items, (Titles{"X", "Y"}));
    EXPECT_EQ(test::list_titles(f.list), (Titles{"X", "Y"}));
    EXPECT_EQ(test::list_keys(f.list), (Keys{1, 2}));

    f.prompter.answers = {true};
    EXPECT_TRUE(f.load());
    EXPECT_EQ(f.box.items, (Titles{"AMAZING GRACE", "BE THOU"}));
    EXPECT_EQ(f.prompter.questions, (Messages{kLoadSure, kLoadSure}));
}

TEST(LoadSonglist, WithoutAFileTheListIsEmptyAndTheListBoxKeepsItsTitles) {
    Folder f;
    f.box.items = {"A"};
    EXPECT_FALSE(f.load());  // list length 0: no question
    EXPECT_TRUE(f.prompter.questions.empty());
    EXPECT_EQ(f.prompter.notices, Messages{kCouldNotLoad});
    EXPECT_EQ(f.box.items, Titles{"A"});
    EXPECT_EQ(f.list.length, 0);
}

TEST(LoadSonglist, ZeroesEveryKeyAndKeepsTheTitlesOfPlacesTheFileDoesNotName) {
    Folder f;
    f.list = test::make_list({"ONE", "TWO", "THREE"}, {5, 6, 7});
    f.list.entries[20].key_change = 9;
    // LF alone, and neither the first nor the last line of a saved list.
    test::write_file(f.files.songlist(), "SONG01=a\nSONG03=c\nKEYCHANGE01=2\n");
    EXPECT_TRUE(f.load());
    EXPECT_EQ(f.box.items, (Titles{"A", "C"}));
    EXPECT_EQ(test::list_titles(f.list), (Titles{"A", "TWO", "C"}));
    EXPECT_EQ(test::list_keys(f.list), (Keys{2, 0, 0}));
    EXPECT_EQ(f.list.entries[20].key_change, 0);
}

}  // namespace
}  // namespace lyro
