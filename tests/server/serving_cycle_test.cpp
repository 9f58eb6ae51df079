// One serving cycle against sockets in memory: the console lines, partial
// sends, peers that go away, failed accepts and the request echo's limits.
#include <gtest/gtest.h>

#include <string>

#include "server/serving_cycle.h"
#include "tests/server/console_files.h"
#include "tests/server/http_client.h"
#include "tests/server/socket_fakes.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::ConsoleFiles;
using test::FakeListener;
using test::page_response;
using test::ScratchDir;

class CycleTest : public testing::Test {
protected:
    CycleTest() : console_(dir_) {
        console_.attach(config_);
        config_.page_path = dir_.file("index.html");
        config_.accept_retry_pause = std::chrono::milliseconds(0);
    }
    void set_page(std::string_view bytes) { test::write_file(config_.page_path, bytes); }
    void serve_once() {
        ServingCycle cycle(config_, listener_);
        cycle.serve();
    }

    ScratchDir dir_;
    ConsoleFiles console_;
    ServerConfig config_;
    FakeListener listener_;
};

TEST_F(CycleTest, OneConnectionPrintsEveryLineAndGetsThePage) {
    set_page("<p>x</p>");
    auto peer = listener_.add_peer("GET / HTTP/1.1\r\n\r\n");
    serve_once();
    EXPECT_EQ(peer->received, page_response("<p>x</p>"));
    EXPECT_TRUE(peer->finished);
    EXPECT_TRUE(peer->closed);
    EXPECT_EQ(console_.out(),
              "\n\nHTTP Server waiting on port 80:"
              "\n\n Command Received:GET / HTTP/1.1\r\n\r\n"
              "\nSTATUS:71"
              "\nSent : HTTP/1.1 200 OK\r\nContent-length: 8\r\nContent-Type: text/html\r\n\r\n"
              "<p>x</p>\n"
              "Loop completed\n");
}

TEST_F(CycleTest, PartialSendsGoOnUntilEveryByteIsSent) {
    const std::string page(100000, 'a');
    set_page(page);
    auto peer = listener_.add_peer("GET /");
    peer->send_piece = 999;
    serve_once();
    EXPECT_EQ(peer->received, page_response(page));
    EXPECT_GE(peer->sends, 101);
    EXPECT_NE(console_.out().find("\nSTATUS:100068\n"), std::string::npos);
}

TEST_F(CycleTest, APeerGoneHalfWayEndsTheCycleShowingTheBytesSent) {
    set_page(std::string(5000, 'b'));
    auto half = listener_.add_peer("GET /");
    half->send_piece = 1000;
    half->fail_after = 3000;
    auto gone = listener_.add_peer("GET /");
    gone->fail_after = 0;
    serve_once();
    serve_once();
    EXPECT_EQ(half->received.size(), 3000u);
    EXPECT_TRUE(half->closed);
    EXPECT_TRUE(gone->closed);
    const std::string out = console_.out();
    EXPECT_NE(out.find("\nSTATUS:3000\n"), std::string::npos);
    EXPECT_NE(out.find("\nSTATUS:-1\n"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 15), "Loop completed\n");
}

TEST_F(CycleTest, AFailedAcceptEndsTheCycleLikeAFailedSend) {
    set_page("<p>x</p>");
    listener_.add_failed_accept();
    serve_once();
    EXPECT_EQ(console_.out(),
              "\n\nHTTP Server waiting on port 80:"
              "\n\n Command Received:"
              "\nSTATUS:-1"
              "\nSent : " + page_response("<p>x</p>") + "\n"
              "Loop completed\n");
}

TEST_F(CycleTest, TheEchoStopsAtAZeroByteAndAtTheRequestLimit) {
    set_page("");
    listener_.add_peer(std::string("GET /\0hidden", 12));
    auto big = listener_.add_peer(std::string(40000, 'r'));
    serve_once();
    serve_once();
    const std::string out = console_.out();
    EXPECT_NE(out.find("Command Received:GET /\nSTATUS:"), std::string::npos);
    EXPECT_NE(out.find("Command Received:" + std::string(kRequestMax, 'r') + "\nSTATUS:"),
              std::string::npos);
    EXPECT_EQ(out.find(std::string(kRequestMax + 1, 'r')), std::string::npos);
    // The rest of the long request was read before the connection closed.
    EXPECT_EQ(big->delivered, 40000u);
    EXPECT_EQ(big->received, page_response(""));
}

TEST_F(CycleTest, TheSentLineShowsThePageUpToAZeroByteButThePageIsSentWhole) {
    const std::string page("a\r\nb\0c", 6);
    set_page(page);
    auto peer = listener_.add_peer("GET /");
    serve_once();
    EXPECT_EQ(peer->received, page_response(page));
    EXPECT_NE(console_.out().find("Content-Type: text/html\r\n\r\na\r\nb\nLoop completed\n"),
              std::string::npos);
}

TEST_F(CycleTest, AMissingPageIsAnEmptyPageAndEveryConnectionReadsThePageAnew) {
    auto first = listener_.add_peer("GET /");
    auto second = listener_.add_peer("GET /");
    auto third = listener_.add_peer("GET /");
    serve_once();
    set_page("<p>new</p>");
    serve_once();
    set_page("<p>newer and longer</p>");
    serve_once();
    EXPECT_EQ(first->received, page_response(""));
    EXPECT_EQ(second->received, page_response("<p>new</p>"));
    EXPECT_EQ(third->received, page_response("<p>newer and longer</p>"));
}

}  // namespace
}  // namespace lyro
