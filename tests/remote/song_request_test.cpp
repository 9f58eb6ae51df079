// The song-request poll and carrying out a request, without a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remote/song_request.h"

namespace lyro {
namespace {

class MemoryKey final : public RequestKey {
public:
    explicit MemoryKey(int v) : value(v) {}
    int read() override {
        ++reads;
        return value;
    }
    void reset() override {
        value = 0;
        ++resets;
    }
    int value;
    int reads = 0;
    int resets = 0;
};

// Runs `ticks` timer ticks; returns how many of them asked for command 4001.
int run_ticks(RequestState& app, RequestKey& key, bool open, int ticks) {
    int posts = 0;
    for (int i = 0; i < ticks; ++i) posts += poll_song_request(app, key, open) ? 1 : 0;
    return posts;
}

TEST(SongRequestPoll, ReadsOnlyOnEvery101stTick) {
    RequestState app;
    MemoryKey key(0);
    run_ticks(app, key, true, 100);
    EXPECT_EQ(key.reads, 0);
    run_ticks(app, key, true, 1);
    EXPECT_EQ(key.reads, 1);
    EXPECT_EQ(app.poll_ticks, 0);
    run_ticks(app, key, true, 202);
    EXPECT_EQ(key.reads, 3);
}

TEST(SongRequestPoll, AShorterIntervalPollsSooner) {
    RequestState app;
    app.ticks_between_polls = 3;
    MemoryKey key(0);
    run_ticks(app, key, true, 3);
    EXPECT_EQ(key.reads, 0);
    run_ticks(app, key, true, 5);
    EXPECT_EQ(key.reads, 2);  // the 4th and the 8th tick
}

TEST(SongRequestPoll, RequestWithDialogOpenIsStoredAndKeyReset) {
    RequestState app;
    MemoryKey key(2);
    EXPECT_EQ(run_ticks(app, key, true, 101), 1);
    EXPECT_EQ(app.requested_position, 2);
    EXPECT_EQ(key.value, 0);
    // The next poll finds "0" and posts nothing more.
    EXPECT_EQ(run_ticks(app, key, true, 101), 0);
}

TEST(SongRequestPoll, KeyResetEvenWhenNothingIsTaken) {
    struct Case {
        int value;
        bool open;
    };
    for (const Case c : {Case{0, true}, Case{3, false}, Case{-4, true}}) {
        SCOPED_TRACE(c.value);
        RequestState app;
        MemoryKey key(c.value);
        EXPECT_EQ(run_ticks(app, key, c.open, 101), 0);
        EXPECT_EQ(key.resets, 1);
        EXPECT_EQ(key.value, 0);
        EXPECT_EQ(app.requested_position, 0);  // a dropped request is not left pending
    }
}

TEST(SongRequestTake, TakesOnce) {
    RequestState app;
    app.requested_position = 3;
    EXPECT_EQ(take_song_request(app), 3);
    EXPECT_EQ(take_song_request(app), 0);
}

struct Shown {
    std::vector<std::string> titles;
    std::vector<int> reads;
};

RequestTarget list_of(int length, Shown& shown) {
    RequestTarget t;
    t.list_length = length;
    t.entry_at = [&shown](int i) {
        shown.reads.push_back(i);
        return RequestedEntry{"SONG " + std::to_string(i), i - 5};
    };
    t.show_in_viewer = [&shown](const std::string& title) { shown.titles.push_back(title); };
    return t;
}

TEST(SongRequestShow, ShowsTheEntryWithItsKeyChange) {
    ViewPosition app;
    app.single_song_mode = 1;
    Shown shown;
    EXPECT_TRUE(show_requested_entry(app, 1, list_of(3, shown)));
    ASSERT_EQ(shown.titles.size(), 1u);
    EXPECT_EQ(shown.titles[0], "SONG 1");
    EXPECT_EQ(app.key_offset, -4);
    EXPECT_EQ(app.start_position, 1);
    EXPECT_EQ(app.list_position, 1);
    EXPECT_EQ(app.single_song_mode, 1);  // left as it was
}

TEST(SongRequestShow, OutOfRangePositionsReadNothing) {
    struct Case {
        int position;
        int length;
    };
    for (const Case c : {Case{0, 3}, Case{-1, 3}, Case{3, 3}, Case{4, 3}, Case{1, 0},
                         Case{32, 32}, Case{40, 45}}) {
        SCOPED_TRACE(testing::Message() << c.position << " of " << c.length);
        ViewPosition app;
        app.key_offset = 7;
        Shown shown;
        EXPECT_FALSE(show_requested_entry(app, c.position, list_of(c.length, shown)));
        EXPECT_TRUE(shown.reads.empty());
        EXPECT_TRUE(shown.titles.empty());
        EXPECT_EQ(app.key_offset, 7);
    }
}

TEST(SongRequestShow, LastEntryIsReachable) {
    ViewPosition app;
    Shown shown;
    EXPECT_TRUE(show_requested_entry(app, 31, list_of(32, shown)));
    EXPECT_EQ(shown.reads, std::vector<int>{31});
}

}  // namespace
}  // namespace lyro
