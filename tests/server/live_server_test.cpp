// The server with real sockets on 127.0.0.1, run in a thread of the test:
// what browsers get, what a room of them connecting at once gets, clients
// that misbehave, and the stop protocol through a profile file on disk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ini_file_profile.h"
#include "server/client_session.h"
#include "tests/platform/memory_profile.h"
#include "tests/server/console_files.h"
#include "tests/server/http_client.h"
#include "tests/server/live_server.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using namespace std::chrono_literals;
using test::fetch;
using test::is_page_reply;
using test::kGet;
using test::LiveServer;
using test::MemoryProfile;
using test::ScratchDir;

std::size_t count_of(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(LiveServer, AnyRequestGetsTheSame200AndPage) {
    ScratchDir dir;
    const std::string page = "<html><body>Amazing grace</body></html>\r\n";
    test::write_file(dir.file("index.html"), page);
    MemoryProfile profile;
    LiveServer server(dir, profile);
    const std::string requests[] = {
        "GET / HTTP/1.1\r\nHost: tablet\r\n\r\n",
        "GET /favicon.ico HTTP/1.1\r\n\r\n",
        "POST /form HTTP/1.0\r\nContent-Length: 3\r\n\r\nabc",
        "BREW /pot HTCPCP/1.0\n\n",
    };
    for (const auto& request : requests) {
        SCOPED_TRACE(request);
        EXPECT_TRUE(is_page_reply(fetch(server.port(), request), page));
    }
    // Bytes that never end a header are a whole request once the client
    // says it sends nothing more; so is nothing at all.
    for (const auto& request : {std::string("\0\xff\x01garbage\r\n", 12), std::string("\r\n"),
                                std::string("x"), std::string()}) {
        SCOPED_TRACE(request);
        EXPECT_TRUE(is_page_reply(fetch(server.port(), request, true), page));
    }
}

TEST(LiveServer, PagesArriveByteForByteWhateverTheirSize) {
    ScratchDir dir;
    MemoryProfile profile;
    LiveServer server(dir, profile);
    std::string bytes(256, '\0');
    for (int i = 0; i < 256; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(i);
    const std::string pages[] = {
        "",  // "Content-length: 0" and nothing after the header
        "<p>one\r\ntwo\rthree\nfour</p>\r\n",
        bytes,
        std::string(5 * 1024 * 1024, 'x') + "end",  // far beyond any one buffer
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.size());
        test::write_file(dir.file("index.html"), page);
        EXPECT_TRUE(is_page_reply(fetch(server.port(), "GET / HTTP/1.1\r\n\r\n"), page));
    }
}

TEST(LiveServer, AMissingOrUnreadablePageIsAnsweredEmptyAndServingGoesOn) {
    ScratchDir dir;
    MemoryProfile profile;
    LiveServer server(dir, profile);
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), ""));
    std::filesystem::create_directory(dir.file("index.html"));  // cannot be read as a file
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), ""));
    std::filesystem::remove(dir.file("index.html"));
    test::write_file(dir.file("index.html"), "<p>back</p>");
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), "<p>back</p>"));
}

TEST(LiveServer, ARoomOfBrowsersConnectingAtOnceIsAnsweredInTurn) {
    ScratchDir dir;
    test::write_file(dir.file("index.html"), "<p>song</p>");
    MemoryProfile profile;
    LiveServer server(dir, profile);
    std::vector<std::unique_ptr<ClientConnection>> clients;
    for (int i = 0; i < 40; ++i) {
        clients.push_back(connect_loopback(server.port(), 20s));
        ASSERT_TRUE(clients.back()) << "connection " << i << " was refused";
        ASSERT_TRUE(test::send_request(*clients.back(), "GET / HTTP/1.1\r\n\r\n"));
    }
    for (std::size_t i = 0; i < clients.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(is_page_reply(test::rest_of(*clients[i]), "<p>song</p>"));
        clients[i].reset();  // as a browser closes once the page is in
    }
}

TEST(LiveServer, AClientThatSendsNothingIsClosedUnansweredAtItsDeadline) {
    ScratchDir dir;
    test::write_file(dir.file("index.html"), "<p>song</p>");
    MemoryProfile profile;
    LiveServer server(dir, profile, 300ms);
    auto silent = connect_loopback(server.port(), 20s);
    ASSERT_TRUE(silent);
    const auto start = std::chrono::steady_clock::now();
    const test::Reply reply = test::rest_of(*silent);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 250ms);
    EXPECT_EQ(reply.bytes, "");
    EXPECT_TRUE(reply.ended);
    server.stop();
    EXPECT_EQ(count_of(server.output(), "Loop completed\n"), 1u);  // the stopping fetch only
}

TEST(LiveServer, RequestsBeyond32KBAreAnsweredWholeAndEchoedOnlyInPart) {
    ScratchDir dir;
    test::write_file(dir.file("index.html"), "<p>song</p>");
    MemoryProfile profile;
    LiveServer server(dir, profile);
    for (std::size_t size : {32767u, 32768u, 40000u, 200000u}) {
        SCOPED_TRACE(size);
        const std::string request = "GET /" + std::string(size - 5, 'q');
        EXPECT_TRUE(is_page_reply(fetch(server.port(), request), "<p>song</p>"));
    }
    server.stop();
    const std::string out = server.output();
    EXPECT_EQ(out.find(std::string(kRequestMax - 4, 'q')), std::string::npos);
    EXPECT_EQ(count_of(out, "Loop completed\n"), 5u);
}

TEST(LiveServer, AClientThatResetsHalfWayThroughTheAnswerDoesNotStopTheServer) {
    ScratchDir dir;
    const std::string page(16 * 1024 * 1024, 'x');  // more than the sockets buffer
    test::write_file(dir.file("index.html"), page);
    MemoryProfile profile;
    LiveServer server(dir, profile);
    {
        auto c = connect_loopback(server.port(), 10s);
        ASSERT_TRUE(c);
        ASSERT_TRUE(test::send_request(*c, "GET / HTTP/1.1\r\n\r\n"));
        char some[1000];
        ASSERT_GT(c->receive(some, sizeof some), 0);
        c->reset();
    }
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), page));
    server.stop();
    const std::string out = server.output();
    const std::string full = "\nSTATUS:" + std::to_string(page.size() + 62 + 8) + "\n";
    EXPECT_EQ(count_of(out, full), 2u);  // the second and the stopping fetch
    EXPECT_EQ(count_of(out, "\nSTATUS:"), 3u);
    EXPECT_EQ(count_of(out, "Loop completed\n"), 3u);
}

TEST(LiveServer, AStopRequestTakesEffectOnlyAfterTheNextConnectionWhichIsServed) {
    ScratchDir dir;
    test::write_file(dir.file("index.html"), "<p>song</p>");
    const std::string ini = dir.file("win.ini");
    test::write_file(ini, "[mail]\r\nMAPI=1\r\n");
    IniFileProfile server_profile(ini, kProfileSection);
    IniFileProfile user(ini, kProfileSection);
    LiveServer server(dir, server_profile);
    EXPECT_EQ(test::read_file(ini),
              "[mail]\r\nMAPI=1\r\n[LYROVANT]\r\nRUNNING=1\r\nTERMINATE=0\r\n");
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), "<p>song</p>"));

    ASSERT_TRUE(server.wait_until_waiting());
    ASSERT_TRUE(user.write_string(kTerminateKey, "1"));
    EXPECT_FALSE(server.wait_exit(300ms));  // waiting for a connection: cannot see it
    EXPECT_EQ(user.read_int(kRunningKey, 0), 1);

    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), "<p>song</p>"));
    EXPECT_EQ(server.wait_exit(10s), 0);
    EXPECT_EQ(test::read_file(ini),
              "[mail]\r\nMAPI=1\r\n[LYROVANT]\r\nRUNNING=0\r\nTERMINATE=1\r\n");
    const std::string out = server.output();
    EXPECT_EQ(count_of(out, "Loop completed\n"), 2u);
    EXPECT_EQ(out.substr(out.size() - 15), "Loop completed\n");
}

TEST(LiveServer, OnlyTheValue1Stops) {
    ScratchDir dir;
    test::write_file(dir.file("index.html"), "<p>song</p>");
    const std::string ini = dir.file("win.ini");
    IniFileProfile server_profile(ini, kProfileSection);
    LiveServer server(dir, server_profile);
    for (const char* text : {"[LYROVANT]\r\nTERMINATE=2\r\n", "[LYROVANT]\r\nTERMINATE=stop\r\n",
                             "[LYROVANT]\r\nRUNNING=1\r\n"}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(server.wait_until_waiting());
        test::write_file(ini, text);
        EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), "<p>song</p>"));
        EXPECT_FALSE(server.wait_exit(50ms));
    }
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), "<p>song</p>"));
}

TEST(LiveServer, ATakenPortGivesUnableToBindWithTheReasonAndExitStatus1) {
    ScratchDir dir;
    auto sockets = open_system_sockets();
    ListenOptions taken;
    taken.port = 0;
    taken.loopback_only = true;
    const ListenResult blocker = sockets->listen(taken);
    ASSERT_TRUE(blocker.listener);

    test::ConsoleFiles console(dir);
    ServerConfig config;
    console.attach(config);
    config.listen.port = blocker.listener->port();
    config.listen.loopback_only = true;
    MemoryProfile profile;
    EXPECT_EQ(run_song_server(config, *sockets, profile), 1);
    EXPECT_EQ(profile.read_int(kRunningKey, 0), 1);
#ifdef _WIN32
    const std::string err = console.err();
    EXPECT_EQ(err.rfind("Unable to bind: ", 0), 0u) << err;
    EXPECT_GT(err.size(), 18u) << err;
    EXPECT_EQ(err.back(), '\n');
#else
    EXPECT_EQ(console.err(), "Unable to bind: Address already in use\n");
#endif
}

}  // namespace
}  // namespace lyro
