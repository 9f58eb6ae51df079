// The stage view on its own port, with real sockets on 127.0.0.1 and the
// whole serving loop: the page, the event stream following stage.json, the
// 404, slow and hostile clients, 2,000 clients at once, the port taken or
// named by the profile, and port 80 answering exactly as before all along.
// Every client here is bounded in count and time.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "server/stage_http.h"
#include "tests/platform/memory_profile.h"
#include "tests/server/http_client.h"
#include "tests/server/live_server.h"
#include "tests/server/stage_client.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using namespace std::chrono_literals;
using test::fetch;
using test::is_page_reply;
using test::kGet;
using test::LiveServer;
using test::MemoryProfile;
using test::publish_state;
using test::ScratchDir;
using test::StageClient;

constexpr std::string_view kPage = "<p>Amazing grace</p>";

std::string state(int seq, std::string_view title = "AMAZING GRACE") {
    return "{\"seq\":" + std::to_string(seq) + ",\"showing\":\"song\",\"title\":\"" +
           std::string(title) + "\"}";
}

std::string event_of(int seq, std::string_view title = "AMAZING GRACE") {
    return "id: " + std::to_string(seq) + "\ndata: " + state(seq, title) + "\n\n";
}

// A stage view on a free port of 127.0.0.1, with short limits.
std::function<void(ServerConfig&)> with_stage(std::function<void(StageConfig&)> more = {}) {
    return [more](ServerConfig& config) {
        config.stage.listen = ListenOptions{0, true};
        config.stage.stall_limit = 1000ms;
        if (more) more(config.stage);
    };
}

class StageServerTest : public testing::Test {
protected:
    StageServerTest() { test::write_file(dir_.file("index.html"), kPage); }
    std::string state_path() const { return dir_.file("stage.json"); }
    ScratchDir dir_;
    MemoryProfile profile_;
};

TEST_F(StageServerTest, ServesThePageAndA404AndLeavesPort80AsItWas) {
    LiveServer server(dir_, profile_, 2s, with_stage());
    const std::uint16_t stage = server.stage_port();
    ASSERT_NE(stage, 0);

    const test::Reply page = fetch(stage, "GET /?chords=off HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(page.bytes, stage_answer({StageTarget::page, false}));
    EXPECT_TRUE(page.ended);
    const test::Reply missing = fetch(stage, "GET /index.html HTTP/1.1\r\n\r\n");
    EXPECT_EQ(missing.bytes.substr(0, 24), "HTTP/1.1 404 Not Found\r\n");
    EXPECT_TRUE(missing.ended);
    {
        // Port 80 answers as ever while stage views follow along.
        publish_state(state_path(), state(1));
        StageClient first(stage);
        StageClient second(stage);
        ASSERT_TRUE(first.wait_for(event_of(1)));
        EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), kPage));
        ASSERT_TRUE(second.wait_for(event_of(1)));
    }

    server.stop();
    ASSERT_EQ(server.wait_exit(10s), 0);
    // The console: the start line, where the stage is, then port 80's lines
    // exactly as ever; the stage's own clients print nothing.
    const std::string expected_start = "Server program for Lyrovant\nStage view: http://127.0.0.1:" +
                                       std::to_string(stage) + "/\n\n\nHTTP Server waiting on port " +
                                       std::to_string(server.port()) + ":\n\n Command Received:" +
                                       std::string(kGet) + "\nSTATUS:";
    EXPECT_EQ(server.output().substr(0, expected_start.size()), expected_start);
    EXPECT_EQ(server.errors(), "");
}

TEST_F(StageServerTest, TheStreamSendsTheCurrentStateAtOnceThenEachNewOne) {
    publish_state(state_path(), state(1));
    LiveServer server(dir_, profile_, 2s, with_stage());
    StageClient client(server.stage_port());
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(client.wait_for("HTTP/1.1 200 OK\r\nContent-Type: text/event-stream"));
    EXPECT_TRUE(client.wait_for("retry: 1000\n\n"));
    EXPECT_TRUE(client.wait_for(event_of(1)));

    for (int seq = 2; seq <= 6; ++seq) {
        publish_state(state_path(), state(seq, "SONG " + std::to_string(seq)));
        EXPECT_TRUE(client.wait_for(event_of(seq, "SONG " + std::to_string(seq)))) << seq;
    }
    // The same bytes again are no news; a changed file is.
    publish_state(state_path(), state(6, "SONG 6"));
    publish_state(state_path(), state(7));
    EXPECT_TRUE(client.wait_for(event_of(7)));
    EXPECT_EQ(client.received().find(event_of(6, "SONG 6")),
              client.received().rfind(event_of(6, "SONG 6")));
}

TEST_F(StageServerTest, BadStatesSendNothingNewAndTheServerServesOn) {
    LiveServer server(dir_, profile_, 2s, with_stage([](StageConfig& s) { s.state_max = 64 * 1024; }));
    StageClient client(server.stage_port());
    ASSERT_TRUE(client.wait_for("retry: 1000\n\n"));  // no state yet: nothing else
    publish_state(state_path(), state(1));
    ASSERT_TRUE(client.wait_for(event_of(1)));

    publish_state(state_path(), "");
    publish_state(state_path(), std::string(10 * 1024 * 1024, '{'));  // 10 MB
    std::filesystem::remove(state_path());
    // Replaced far faster than it is looked at: whatever comes, the last
    // state arrives, and the stream holds no part of the huge one.
    for (int seq = 2; seq < 300; ++seq) publish_state(state_path(), state(seq));
    EXPECT_TRUE(client.wait_for(event_of(299)));
    EXPECT_EQ(client.received().find("{{{{"), std::string::npos);
    // Not JSON is forwarded as it is: reading it is the page's business.
    publish_state(state_path(), "not json");
    EXPECT_TRUE(client.wait_for("data: not json\n\n"));
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), kPage));
    EXPECT_TRUE(StageClient(server.stage_port()).connected());
}

TEST_F(StageServerTest, AClientThatNeverReadsIsClosedAndDelaysNoOther) {
    LiveServer server(dir_, profile_, 2s, with_stage([](StageConfig& s) { s.stall_limit = 500ms; }));
    // States large enough to fill the socket buffers of a client that
    // takes nothing.
    const std::string filler(256 * 1024, 'x');
    StageClient stalled(server.stage_port());
    StageClient reader(server.stage_port());
    ASSERT_TRUE(reader.wait_for("retry: 1000\n\n"));
    for (int seq = 1; seq <= 40; ++seq) {
        publish_state(state_path(), state(seq, filler + std::to_string(seq)));
        ASSERT_TRUE(reader.wait_for(event_of(seq, filler + std::to_string(seq)), 5s)) << seq;
    }
    // It has taken nothing for longer than the server waits.
    std::this_thread::sleep_for(1500ms);
    // What the stalled client finds when it reads at last: the beginning
    // of the stream, then the end of the connection.
    EXPECT_TRUE(stalled.wait_for_close(10s)) << stalled.received().size();
    EXPECT_EQ(stalled.received().substr(0, 15), "HTTP/1.1 200 OK");
    EXPECT_LT(stalled.received().size(), 40 * filler.size());
}

TEST_F(StageServerTest, AnIdleStreamGetsAKeepAliveComment) {
    LiveServer server(dir_, profile_, 2s, with_stage([](StageConfig& s) { s.keep_alive = 100ms; }));
    StageClient client(server.stage_port());
    ASSERT_TRUE(client.wait_for("retry: 1000\n\n"));
    EXPECT_TRUE(client.wait_for(":\n\n"));
    EXPECT_TRUE(client.wait_for(":\n\n"));
}

TEST_F(StageServerTest, HostileClientsOnTheStagePortHoldOnlyThemselves) {
    LiveServer server(dir_, profile_, 500ms, with_stage());
    const std::uint16_t stage = server.stage_port();
    // Silent, half a request, a request past any sensible size, junk after
    // the stream's request, a reset in the middle of a stream.
    StageClient silent(stage, "");
    StageClient half(stage, "GET /ev");
    const test::Reply huge = fetch(stage, "GET /" + std::string(40000, 'a'));
    EXPECT_EQ(huge.bytes.substr(0, 12), "HTTP/1.1 404");
    StageClient chatty(stage);
    ASSERT_TRUE(chatty.wait_for("retry: 1000\n\n"));
    const std::string junk(64 * 1024, 'j');
    for (int i = 0; i < 8 && test::send_request(chatty.connection(), junk); ++i) {}
    {
        auto reset = connect_loopback(stage, 2s);
        ASSERT_TRUE(reset && test::send_request(*reset, test::kEventsRequest));
        reset->reset();
    }
    const test::Reply binary = fetch(stage, std::string("\0\xff\r\n\r\n", 6));
    EXPECT_EQ(binary.bytes.substr(0, 12), "HTTP/1.1 400");

    EXPECT_TRUE(silent.wait_for_close(5s));
    EXPECT_TRUE(half.wait_for_close(5s));
    EXPECT_TRUE(chatty.wait_for_close(5s));
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), kPage));
    StageClient after(stage);
    EXPECT_TRUE(after.wait_for("retry: 1000\n\n"));
}

TEST_F(StageServerTest, HoldsTwoThousandStreamsBesidePort80sFullRoom) {
    LiveServer server(dir_, profile_, 30s, with_stage([](StageConfig& s) { s.stall_limit = 30s; }));
    const std::uint16_t stage = server.stage_port();
    // Port 80 full but for one place: connections that send nothing.
    std::vector<std::unique_ptr<ClientConnection>> idle;
    for (int i = 0; i < 1023; ++i) {
        idle.push_back(connect_loopback(server.port(), 30s));
        ASSERT_TRUE(idle.back()) << "idle connection " << i;
    }
    std::vector<std::unique_ptr<StageClient>> clients;
    for (int i = 0; i < 2000; ++i) {
        clients.push_back(std::make_unique<StageClient>(stage));
        ASSERT_TRUE(clients.back()->connected()) << "client " << i;
    }
    for (auto& c : clients) ASSERT_TRUE(c->wait_for("retry: 1000\n\n"));
    publish_state(state_path(), state(1));
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), kPage));
    int got = 0;
    for (auto& c : clients) got += c->wait_for(event_of(1)) ? 1 : 0;
    EXPECT_EQ(got, 2000);
    idle.clear();  // so that the server is idle again when it is stopped
}

TEST_F(StageServerTest, AStagePortThatIsTakenIsReportedAndPort80ServesOn) {
    auto sockets = open_system_sockets();
    ListenResult taken = sockets->listen(ListenOptions{0, true});
    ASSERT_TRUE(taken.listener);
    const std::uint16_t port = taken.listener->port();
    LiveServer server(dir_, profile_, 2s, with_stage([port](StageConfig& s) {
        s.listen = ListenOptions{port, true};
    }));
    EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), kPage));
    server.stop();
    ASSERT_EQ(server.wait_exit(10s), 0);
    const std::string errors = server.errors();
    EXPECT_EQ(errors.rfind("Stage view: port " + std::to_string(port) +
                               " could not be opened (Unable to bind: ",
                           0),
              0u)
        << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
    EXPECT_TRUE(errors.ends_with("); port 80 is served as usual\n")) << errors;
    EXPECT_EQ(server.output().find("Stage view: http"), std::string::npos);
}

TEST_F(StageServerTest, StagePortComesFromTheProfile) {
    // A free port to name: taken from the system, then let go.
    std::uint16_t free_port = 0;
    {
        auto sockets = open_system_sockets();
        ListenResult probe = sockets->listen(ListenOptions{0, true});
        ASSERT_TRUE(probe.listener);
        free_port = probe.listener->port();
    }
    struct Row {
        std::string value;
        bool open;
        std::string error_start;
    };
    const Row rows[] = {
        {std::to_string(free_port), true, ""},
        {"0", false, ""},
        {"70000", false, "Stage view: STAGEPORT=70000 is not a port number"},
        {"-1", false, "Stage view: STAGEPORT=-1 is not a port number"},
    };
    for (const Row& row : rows) {
        MemoryProfile profile("[LYROVANT]\r\nSTAGEPORT=" + row.value + "\r\n");
        LiveServer server(dir_, profile, 2s,
                          [](ServerConfig& config) { config.stage.port_from_profile = true; });
        EXPECT_TRUE(is_page_reply(fetch(server.port(), kGet), kPage));
        if (row.open) {
            EXPECT_EQ(server.stage_port(), free_port);
            EXPECT_TRUE(StageClient(free_port).wait_for("retry: 1000\n\n"));
        }
        server.stop();
        ASSERT_EQ(server.wait_exit(10s), 0);
        EXPECT_EQ(server.output().find("Stage view: http://127.0.0.1:" + std::to_string(free_port)) !=
                      std::string::npos,
                  row.open)
            << row.value;
        EXPECT_EQ(server.errors().rfind(row.error_start, 0), 0u) << row.value;
        if (row.error_start.empty()) {
            EXPECT_EQ(server.errors(), "") << row.value;
        }
    }
}

}  // namespace
}  // namespace lyro
