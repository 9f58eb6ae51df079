// The serving loop against sockets in memory: the console blocks, partial
// sends, peers that go away or stop reading, requests in pieces, clients
// that never finish their request, failed accepts and the echo's limits.
#include <gtest/gtest.h>

#include <string>

#include "server/client_session.h"
#include "server/song_server.h"
#include "tests/server/console_files.h"
#include "tests/server/http_client.h"
#include "tests/server/scripted_profile.h"
#include "tests/server/socket_fakes.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using namespace std::chrono_literals;
using test::ConsoleFiles;
using test::page_response;
using test::ScratchDir;

constexpr std::string_view kStart = "Server program for Lyrovant\n";
constexpr std::string_view kWaiting = "\n\nHTTP Server waiting on port 80:";

std::string block(std::string_view request, std::string_view status, std::string_view sent) {
    return "\n\n Command Received:" + std::string(request) + "\nSTATUS:" + std::string(status) +
           "\nSent : " + std::string(sent) + "\nLoop completed\n";
}

class LoopTest : public testing::Test {
protected:
    LoopTest() : console_(dir_) {
        console_.attach(config_);
        config_.page_path = dir_.file("index.html");
        config_.accept_retry_pause = 0ms;
        config_.clock = sockets_.clock();
        config_.deadline = 100ms;
        config_.close_wait = 20ms;
    }
    void set_page(std::string_view bytes) { test::write_file(config_.page_path, bytes); }
    std::shared_ptr<test::FakePeer> add_peer(std::string request) {
        return sockets_.listener.add_peer(std::move(request));
    }
    // Runs the server until the `served`-th connection is echoed.
    void serve(int served) {
        profile_.stop_at_read(served);
        ASSERT_EQ(run_song_server(config_, sockets_, profile_), 0);
        EXPECT_EQ(profile_.reads(), served);
    }
    // The console after the start line.
    std::string echo() {
        const std::string out = console_.out();
        EXPECT_EQ(out.substr(0, kStart.size()), kStart);
        return out.substr(std::min(out.size(), kStart.size()));
    }

    ScratchDir dir_;
    ConsoleFiles console_;
    ServerConfig config_;
    test::FakeSockets sockets_;
    test::ScriptedProfile profile_;
};

TEST_F(LoopTest, EachConnectionIsOneBlockBetweenWaitingLines) {
    set_page("<p>x</p>");
    auto first = add_peer("GET / HTTP/1.1\r\n\r\n");
    auto second = add_peer("GET /b HTTP/1.0\n\n");
    serve(2);
    for (const auto& peer : {first, second}) {
        EXPECT_EQ(peer->received, page_response("<p>x</p>"));
        EXPECT_TRUE(peer->finished);
        EXPECT_TRUE(peer->closed);
    }
    const std::string response = page_response("<p>x</p>");
    EXPECT_EQ(echo(), std::string(kWaiting) + block("GET / HTTP/1.1\r\n\r\n", "71", response) +
                          std::string(kWaiting) + block("GET /b HTTP/1.0\n\n", "71", response));
}

TEST_F(LoopTest, ARequestArrivingInPiecesIsAnsweredOnceItsHeaderHasEnded) {
    set_page("p");
    const std::string request = "GET / HTTP/1.1\r\nHost: a\r\n\r\n";
    auto peer = add_peer(request);
    peer->receive_piece = 3;
    peer->ends = false;  // a browser keeps its side open
    serve(1);
    EXPECT_EQ(peer->received, page_response("p"));
    EXPECT_NE(echo().find("Command Received:" + request + "\nSTATUS:"), std::string::npos);
}

TEST_F(LoopTest, AnUnfinishedRequestIsClosedUnansweredAtItsDeadlineWhileOthersAreServed) {
    set_page("p");
    auto silent = add_peer("");
    silent->ends = false;
    auto half = add_peer("GET / HTTP/1.1\r\nHost:");
    half->ends = false;
    auto whole = add_peer("GET / HTTP/1.1\r\n\r\n");
    profile_.on_read = [&](int n) {
        EXPECT_EQ(silent->closed, n == 2);
        EXPECT_EQ(half->closed, n == 2);
    };
    std::shared_ptr<test::FakePeer> last;
    sockets_.on_idle = [&] {
        if (silent->closed && half->closed && !last) last = add_peer("GET /last\n\n");
    };
    serve(2);
    EXPECT_EQ(whole->received, page_response("p"));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->received, page_response("p"));
    EXPECT_EQ(silent->received, "");
    EXPECT_EQ(half->received, "");
    // Only the two answered connections are echoed.
    const std::string response = page_response("p");
    EXPECT_EQ(echo(), std::string(kWaiting) + block("GET / HTTP/1.1\r\n\r\n", "64", response) +
                          std::string(kWaiting) + block("GET /last\n\n", "64", response));
}

TEST_F(LoopTest, PartialSendsGoOnUntilEveryByteIsSent) {
    const std::string page(100000, 'a');
    set_page(page);
    auto peer = add_peer("GET /\r\n\r\n");
    peer->send_piece = 999;
    serve(1);
    EXPECT_EQ(peer->received, page_response(page));
    EXPECT_GE(peer->sends, 101);
    EXPECT_NE(echo().find("\nSTATUS:100068\n"), std::string::npos);
}

TEST_F(LoopTest, PeersGoneHalfWayOrNotReadingShowTheBytesTheyTook) {
    set_page(std::string(5000, 'b'));
    auto half = add_peer("GET /\n\n");
    half->send_piece = 1000;
    half->fail_after = 3000;
    auto gone = add_peer("GET /\n\n");
    gone->fail_after = 0;
    auto stuck = add_peer("GET /\n\n");  // never reads: given up at its deadline
    stuck->takes = false;
    auto fine = add_peer("GET /\n\n");
    serve(4);
    EXPECT_EQ(half->received.size(), 3000u);
    EXPECT_EQ(fine->received, page_response(std::string(5000, 'b')));
    for (const auto& peer : {half, gone, stuck, fine}) EXPECT_TRUE(peer->closed);
    const std::string out = echo();
    const auto at = [&](std::string_view status) { return out.find(status); };
    EXPECT_LT(at("\nSTATUS:3000\n"), at("\nSTATUS:-1\n"));
    EXPECT_LT(at("\nSTATUS:5066\n"), out.rfind("\nSTATUS:-1\n"));  // the stuck one is last
    EXPECT_EQ(out.substr(out.size() - 15), "Loop completed\n");
}

TEST_F(LoopTest, AFailedAcceptIsEchoedLikeAFailedSendAndServingGoesOn) {
    set_page("<p>x</p>");
    sockets_.listener.add_failed_accept();
    auto peer = add_peer("GET /\r\n\r\n");
    serve(2);
    EXPECT_EQ(peer->received, page_response("<p>x</p>"));
    const std::string response = page_response("<p>x</p>");
    EXPECT_EQ(echo(), std::string(kWaiting) + block("", "-1", response) + std::string(kWaiting) +
                          block("GET /\r\n\r\n", "71", response));
}

TEST_F(LoopTest, TheEchoStopsAtAZeroByteAndAtTheRequestLimit) {
    set_page("");
    add_peer(std::string("GET /\0hidden\n\n", 14));
    auto big = add_peer(std::string(40000, 'r'));
    big->ends = false;
    serve(2);
    const std::string out = echo();
    EXPECT_NE(out.find("Command Received:GET /\nSTATUS:"), std::string::npos);
    EXPECT_NE(out.find("Command Received:" + std::string(kRequestMax, 'r') + "\nSTATUS:"),
              std::string::npos);
    EXPECT_EQ(out.find(std::string(kRequestMax + 1, 'r')), std::string::npos);
    // The rest of the long request was read before the connection closed.
    EXPECT_EQ(big->delivered, 40000u);
    EXPECT_EQ(big->received, page_response(""));
}

TEST_F(LoopTest, TheSentLineShowsThePageUpToAZeroByteButThePageIsSentWhole) {
    const std::string page("a\r\nb\0c", 6);
    set_page(page);
    auto peer = add_peer("GET /\n\n");
    serve(1);
    EXPECT_EQ(peer->received, page_response(page));
    EXPECT_NE(echo().find("Content-Type: text/html\r\n\r\na\r\nb\nLoop completed\n"),
              std::string::npos);
}

TEST_F(LoopTest, AMissingPageIsAnEmptyPageAndEveryAnswerReadsThePageAnew) {
    auto first = add_peer("GET /\n\n");
    auto second = add_peer("GET /\n\n");
    auto third = add_peer("GET /\n\n");
    profile_.on_read = [&](int n) {
        set_page(n == 1 ? "<p>new</p>" : "<p>newer and longer</p>");
    };
    serve(3);
    EXPECT_EQ(first->received, page_response(""));
    EXPECT_EQ(second->received, page_response("<p>new</p>"));
    EXPECT_EQ(third->received, page_response("<p>newer and longer</p>"));
}

}  // namespace
}  // namespace lyro
