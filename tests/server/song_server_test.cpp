// The server's run against sockets in memory: its start and stop in the
// profile, which TERMINATE values stop it, and the exits when the
// listening socket cannot be opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/song_server.h"
#include "tests/platform/memory_profile.h"
#include "tests/server/scripted_profile.h"
#include "tests/server/console_files.h"
#include "tests/server/socket_fakes.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using test::ConsoleFiles;
using test::FakeSockets;
using test::ScriptedProfile;
using test::ScratchDir;
using Writes = std::vector<std::string>;

class RunTest : public testing::Test {
protected:
    RunTest() : console_(dir_) {
        console_.attach(config_);
        config_.page_path = dir_.file("index.html");
        config_.accept_retry_pause = std::chrono::milliseconds(0);
        config_.clock = sockets_.clock();
        test::write_file(config_.page_path, "<p>page</p>");
    }

    // Runs the server with `peers` complete requests waiting.
    int run(int peers) {
        for (int i = 0; i < peers; ++i) sockets_.listener.add_peer("GET / HTTP/1.1\r\n\r\n");
        return run_song_server(config_, sockets_, profile_);
    }

    ScratchDir dir_;
    ConsoleFiles console_;
    ServerConfig config_;
    FakeSockets sockets_;
    ScriptedProfile profile_;
};

TEST_F(RunTest, StartAndOrderlyStopAreAnnouncedInTheProfileInOrder) {
    profile_.stop_at_read(1);
    EXPECT_EQ(run(1), 0);
    EXPECT_EQ(profile_.memory.writes(), (Writes{"RUNNING=1", "TERMINATE=0", "RUNNING=0"}));
    EXPECT_EQ(profile_.read_int(kRunningKey, 7), 0);
    const std::string out = console_.out();
    EXPECT_EQ(out.substr(0, 28), "Server program for Lyrovant\n");
    EXPECT_EQ(out.substr(out.size() - 15), "Loop completed\n");
    EXPECT_EQ(sockets_.listener.accepts, 1);
    EXPECT_EQ(console_.err(), "");
}

TEST_F(RunTest, AStopRequestLeftFromAnEarlierRunIsWithdrawnAtStart) {
    profile_.memory.set_text("[LYROVANT]\r\nTERMINATE=1\r\nRUNNING=0\r\n");
    profile_.stop_at_read(3);
    EXPECT_EQ(run(3), 0);
    EXPECT_EQ(profile_.reads(), 3);
}

TEST_F(RunTest, OnlyTheValue1StopsAndOneListeningSocketServesTheWholeRun) {
    struct Row {
        const char* profile;
        bool stops;
    };
    const Row rows[] = {
        {"[LYROVANT]\r\nTERMINATE=1\r\n", true},
        {"[LYROVANT]\r\nTERMINATE= 1 \r\n", true},
        {"[LYROVANT]\r\nTERMINATE=01\r\n", true},
        {"[LYROVANT]\r\nTERMINATE=1st\r\n", true},
        {"[LYROVANT]\r\nTERMINATE=2\r\n", false},
        {"[LYROVANT]\r\nTERMINATE=11\r\n", false},
        {"[LYROVANT]\r\nTERMINATE=-1\r\n", false},
        {"[LYROVANT]\r\nTERMINATE=stop\r\n", false},
        {"[LYROVANT]\r\nTERMINATE=\r\n", false},
        {"[LYROVANT]\r\nRUNNING=1\r\n", false},  // no key at all
        {"", false},                             // no section
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.profile);
        FakeSockets sockets;
        ScriptedProfile profile;
        sockets.listener.add_peer("GET /\r\n\r\n");
        sockets.listener.add_peer("GET /\r\n\r\n");
        profile.before_read(1, row.profile);
        profile.stop_at_read(2);
        EXPECT_EQ(run_song_server(config_, sockets, profile), 0);
        EXPECT_EQ(profile.reads(), row.stops ? 1 : 2);
        EXPECT_EQ(sockets.listens, 1);
    }
}

TEST_F(RunTest, AFailingSocketStepNamesItselfAndItsReasonAndLeavesRunningSet) {
    struct Row {
        ListenStep step;
        const char* line;
    };
    const Row rows[] = {
        {ListenStep::socket, "Socket: the reason\n"},
        {ListenStep::setsockopt, "Setsockopt: the reason\n"},
        {ListenStep::bind, "Unable to bind: the reason\n"},
        {ListenStep::listen, "Listen: the reason\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        ScratchDir dir;
        ConsoleFiles console(dir);
        console.attach(config_);
        FakeSockets sockets;
        sockets.failing_step = row.step;
        test::MemoryProfile profile;
        EXPECT_EQ(run_song_server(config_, sockets, profile), 1);
        EXPECT_EQ(console.err(), row.line);
        EXPECT_EQ(console.out(), "Server program for Lyrovant\n");
        EXPECT_EQ(profile.writes(), (Writes{"RUNNING=1", "TERMINATE=0"}));
        EXPECT_EQ(sockets.listener.accepts, 0);
    }
}

TEST_F(RunTest, AFailedSocketStartIsReportedAndTheSocketStepThenFails) {
    sockets_.startup_code = 10091;
    sockets_.failing_step = ListenStep::socket;
    sockets_.failure_text = "not started";
    EXPECT_EQ(run(0), 1);
    EXPECT_EQ(console_.out(), "Server program for Lyrovant\nWSAStartup failed: 10091\n");
    EXPECT_EQ(console_.err(), "Socket: not started\n");
    EXPECT_EQ(profile_.read_int(kRunningKey, 0), 1);
}

TEST_F(RunTest, FailedAcceptsDoNotStopTheServer) {
    sockets_.listener.add_failed_accept();
    sockets_.listener.add_failed_accept();
    profile_.stop_at_read(3);
    EXPECT_EQ(run(1), 0);
    EXPECT_EQ(sockets_.listener.accepts, 3);
}

}  // namespace
}  // namespace lyro
