// Songlist files that this program never wrote: random bytes, huge and
// negative numbers, endless lines. Loading them must keep every title and
// number inside the list, and the list must stay usable afterwards.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "perflist/perf_list.h"
#include "perflist/songlist_file.h"
#include "tests/perflist/list_fakes.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

struct Loaded {
    PerfList list;
    test::FakeListBox box;
    test::ScriptedPrompter prompter;
    test::CountingBeeper beeper;
};

// Loads `bytes` as the songlist file, checks that the list stayed within
// its bounds and whatever `check` wants to see, then runs and saves it.
void load_and_use(const std::string& bytes, Loaded& l,
                  const std::function<void()>& check = [] {}) {
    test::ScratchDir dir;
    DataFiles files;
    files.dir = dir.path();
    test::write_file(files.songlist(), bytes);
    ASSERT_TRUE(load_songlist(l.list, l.box, l.prompter, l.beeper, files));

    EXPECT_GE(l.list.length, 0);
    EXPECT_LE(l.list.length, kListPlaces);
    for (const ListEntry& e : l.list.entries) EXPECT_LE(e.title.size(), kListTitleMax);
    for (const std::string& item : l.box.items) {
        EXPECT_LE(item.size(), kListTitleMax);
        EXPECT_EQ(item.find('\0'), std::string::npos);
    }
    check();

    ViewPosition app;
    std::string shown;
    const ShowInViewer show = [&](std::string_view t) { shown = t; };
    if (run_from_start(l.list, app, {l.box, l.prompter, l.beeper, show})) {
        EXPECT_LE(app.key_offset, kKeyChangeLimit);
        EXPECT_GE(app.key_offset, -kKeyChangeLimit);
        EXPECT_EQ(shown, l.box.items.front());
    }
    EXPECT_TRUE(save_songlist(l.list, l.box, l.prompter, files));
}

std::string random_bytes(std::mt19937& rng, std::size_t size) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string s(size, '\0');
    for (char& c : s) c = static_cast<char>(byte(rng));
    return s;
}

// Lines built from the pieces a songlist is made of, in random order.
std::string random_songlist(std::mt19937& rng) {
    static const std::vector<std::string> pieces = {
        "SONG", "KEYCHANGE", "=", " ", "\t", "-", "+", "0", "1", "7", "32", "33", "00",
        "99999999999999999999", "-2147483649", "2147483647", "title", ";", "\r", "\n", "\r\n",
        std::string(1, '\0'), "\x1a", std::string(120, 'x'), "\xff\xfe"};
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> count(0, 400);
    std::string s;
    for (int n = count(rng); n > 0; --n) s += pieces[pick(rng)];
    return s;
}

TEST(HostileSonglist, RandomBytesAndRandomSonglistPieces) {
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<std::size_t> size(0, 3000);
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        Loaded l;
        load_and_use(round % 2 ? random_bytes(rng, size(rng)) : random_songlist(rng), l);
    }
}

TEST(HostileSonglist, HugeAndNegativeNumbersTouchNoPlaceOutsideTheList) {
    Loaded l;
    load_and_use(
        "SONG99999999999999999999999=A\r\nSONG-99999999999999999999=B\r\nSONG-1=C\r\nSONG33=D\r\n"
        "KEYCHANGE4294967297=5\r\nKEYCHANGE-2147483648=5\r\n"
        "SONG02=E\r\nKEYCHANGE02=-99999999999999999999\r\nKEYCHANGE99999999999=1\r\n",
        l, [&] {
            EXPECT_EQ(l.box.items, (test::Titles{"E"}));
            EXPECT_EQ(l.list.length, 2);
            EXPECT_EQ(l.list.entries[1].key_change, INT_MIN);
        });
    EXPECT_EQ(l.list.entries[0].key_change, 0);  // E runs from the first place
}

TEST(HostileSonglist, EndlessLinesAndNoLineEndAtAll) {
    {
        Loaded l;
        load_and_use("SONG01=" + std::string(100000, 'z'), l, [&] {  // no line end
            ASSERT_EQ(l.box.count(), 1);
            EXPECT_EQ(l.box.items[0], std::string(99, 'Z'));
            EXPECT_EQ(l.beeper.count, 100007 / 991);  // the reader beeps at every cut
        });
    }
    {
        Loaded l;
        std::string many;
        for (int i = 0; i < 5000; ++i) many += "SONG01=X";
        // Cut into pieces of 991 characters; every eighth begins with SONG01.
        load_and_use(many, l, [&] {
            EXPECT_EQ(l.list.length, 1);
            EXPECT_EQ(l.box.count(), 6);
        });
    }
}

}  // namespace
}  // namespace lyro
