// The song-request poll and carrying out a request, without a window.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>

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

// A list of `length` places (no more than it has room for), entry i titled
// "SONG i" with a key change of i - 5.
PerfList list_of(int length) {
    PerfList list;
    list.length = length;
    for (int i = 0; i < length && i < kListPlaces; ++i) {
        list.entries[static_cast<std::size_t>(i)] = {"SONG " + std::to_string(i), i - 5};
    }
    return list;
}

TEST(SongRequestShow, ShowsTheEntryWithItsKeyChange) {
    ViewPosition app;
    app.single_song_mode = 1;
    const PerfList list = list_of(3);
    const ListEntry* shown = move_to_requested_entry(app, 1, list);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->title, "SONG 1");
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
        app.start_position = 2;
        app.list_position = 2;
        EXPECT_EQ(move_to_requested_entry(app, c.position, list_of(c.length)), nullptr);
        EXPECT_EQ(app.key_offset, 7);
        EXPECT_EQ(app.start_position, 2);
        EXPECT_EQ(app.list_position, 2);
    }
}

TEST(SongRequestShow, LastEntryIsReachable) {
    ViewPosition app;
    const PerfList list = list_of(32);
    EXPECT_EQ(move_to_requested_entry(app, 31, list), &list.entries[31]);
}

}  // namespace
}  // namespace lyro
