// A room of clients against the real serving code on 127.0.0.1: idle and
// half-finished connections, clients that never read, a stop while idle
// connections are open, and the most connections held at once. Every
// client here is bounded in count and time.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/platform/memory_profile.h"
#include "tests/server/http_client.h"
#include "tests/server/live_server.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::fetch;
using test::is_page_reply;
using test::kGet;
using test::LiveServer;
using test::MemoryProfile;
using test::rest_of;
using test::ScratchDir;
using Clients = std::vector<std::unique_ptr<ClientConnection>>;

constexpr std::string_view kPage = "<p>Amazing grace</p>";

// Connections that connect and send nothing, as browsers' speculative ones.
Clients open_idle(std::uint16_t port, int count) {
    Clients idle;
    for (int i = 0; i < count; ++i) {
        idle.push_back(connect_loopback(port, 20s));
        if (!idle.back()) ADD_FAILURE() << "idle connection " << i << " was refused";
    }
    return idle;
}

// Fetches the page and tells how long the answer took.
testing::AssertionResult answered_within(std::uint16_t port, std::chrono::milliseconds limit) {
    const auto start = Clock::now();
    const test::Reply reply = fetch(port, kGet, false, 10s);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    if (auto page = is_page_reply(reply, kPage); !page) return page;
    if (took > limit) return testing::AssertionFailure() << "the answer took " << took.count() << " ms";
    return testing::AssertionSuccess();
}

class RoomTest : public testing::Test {
protected:
    RoomTest() { test::write_file(dir_.file("index.html"), kPage); }
    ScratchDir dir_;
    MemoryProfile profile_;
};

// A server that waited on the idle connections would answer only at their
// 10-second deadline; the limit is far below it, and far above what a
// loaded machine running Wine and other tests needs for one answer.
constexpr auto kWellBeforeTheIdleDeadline = 2s;

TEST_F(RoomTest, AnIdleConnectionDoesNotDelayTheRequestAfterIt) {
    LiveServer server(dir_, profile_, 10s);
    Clients idle = open_idle(server.port(), 1);
    EXPECT_TRUE(answered_within(server.port(), kWellBeforeTheIdleDeadline));
}

TEST_F(RoomTest, TwoHundredIdleConnectionsDelayNoneOfTwentyRequests) {
    LiveServer server(dir_, profile_, 10s);
    Clients idle = open_idle(server.port(), 200);
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(answered_within(server.port(), kWellBeforeTheIdleDeadline)) << i;
}

TEST_F(RoomTest, AHalfRequestIsClosedUnansweredAtItsDeadlineAndOthersAreServedMeanwhile) {
    LiveServer server(dir_, profile_, 600ms);
    auto half = connect_loopback(server.port(), 10s);
    ASSERT_TRUE(half);
    ASSERT_TRUE(test::send_request(*half, "GET / HTTP/1.1\r\nHost: ta"));
    const auto start = Clock::now();
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(answered_within(server.port(), 100ms)) << i;
    const test::Reply reply = rest_of(*half);
    const auto took = Clock::now() - start;
    EXPECT_EQ(reply.bytes, "");
    EXPECT_GE(took, 500ms);
    EXPECT_LT(took, 3s);
    server.stop();
    EXPECT_EQ(server.output().find("Host: ta"), std::string::npos);
}

TEST_F(RoomTest, AClientThatNeverReadsItsAnswerHoldsNoOneAndIsGivenUpAtItsDeadline) {
    const std::string big(32 * 1024 * 1024, 'x');  // more than the sockets buffer
    test::write_file(dir_.file("index.html"), big);
    LiveServer server(dir_, profile_, 800ms);
    auto stuck = connect_loopback(server.port(), 10s);
    ASSERT_TRUE(stuck);
    ASSERT_TRUE(test::send_request(*stuck, kGet));
    std::this_thread::sleep_for(50ms);  // its answer has begun
    test::write_file(dir_.file("index.html"), kPage);
    EXPECT_TRUE(answered_within(server.port(), 100ms));
    std::this_thread::sleep_for(1500ms);  // past its deadline
    const test::Reply reply = rest_of(*stuck);
    EXPECT_GT(reply.bytes.size(), 0u);
    EXPECT_LT(reply.bytes.size(), big.size());
}

TEST_F(RoomTest, ClientsThatTrickleFloodOrLeaveAtOnceHoldNoOne) {
    LiveServer server(dir_, profile_, 1500ms);
    // One byte every 50 ms of a header that never ends.
    std::thread trickle([port = server.port()] {
        auto c = connect_loopback(port, 5s);
        for (int i = 0; c && i < 20 && c->send("a", 1) == 1; ++i) std::this_thread::sleep_for(50ms);
    });
    // A request with 10 MB behind it, sent as fast as the server takes it.
    std::thread flood([port = server.port()] {
        auto c = connect_loopback(port, 5s);
        if (c) test::send_request(*c, std::string(kGet) + std::string(10 * 1024 * 1024, 'f'));
    });
    for (int i = 0; i < 10; ++i) {
        connect_loopback(server.port(), 5s).reset();  // connects and closes at once
        EXPECT_TRUE(answered_within(server.port(), 100ms)) << i;
    }
    trickle.join();
    flood.join();
    EXPECT_TRUE(answered_within(server.port(), 100ms));
}

TEST_F(RoomTest, AStopWithIdleConnectionsOpenEndsAfterTheNextServedConnectionAndClosesThem) {
    LiveServer server(dir_, profile_, 20s);
    Clients idle = open_idle(server.port(), 5);
    profile_.write_string(kTerminateKey, "1");
    EXPECT_FALSE(server.wait_exit(100ms));
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), kPage));
    EXPECT_EQ(server.wait_exit(5s), 0);
    EXPECT_EQ(profile_.read_int(kRunningKey, 7), 0);
    for (auto& c : idle) {
        const test::Reply reply = rest_of(*c);
        EXPECT_EQ(reply.bytes, "");
        EXPECT_TRUE(reply.ended);
    }
    const std::string out = server.output();
    EXPECT_EQ(out.substr(out.size() - 15), "Loop completed\n");
    EXPECT_EQ(out.find("Loop completed\n"), out.size() - 15);  // one served connection
}

TEST_F(RoomTest, AThousandConnectionsAreHeldAtOnceAndOnePastTheLimitIsRefused) {
    LiveServer server(dir_, profile_, 20s);
    Clients idle = open_idle(server.port(), 1000);
    EXPECT_TRUE(answered_within(server.port(), 1000ms));
    // Up to the limit of 1024; the one past it is closed at once, unanswered.
    Clients more = open_idle(server.port(), 24);
    auto refused = connect_loopback(server.port(), 10s);
    ASSERT_TRUE(refused);
    const auto start = Clock::now();
    const test::Reply reply = rest_of(*refused);
    EXPECT_LT(Clock::now() - start, 2s);
    EXPECT_EQ(reply.bytes, "");
    EXPECT_TRUE(reply.ended);
    // One that finishes frees its place, and the next is served.
    ASSERT_TRUE(test::send_request(*idle.front(), kGet));
    EXPECT_TRUE(is_page_reply(rest_of(*idle.front()), kPage));
    idle.front().reset();
    EXPECT_TRUE(answered_within(server.port(), 1000ms));
}

}  // namespace
}  // namespace lyro
