// The real songserv program on port 80, as a user runs it: in a scratch
// working folder with a page of its own, natively with a Wine prefix of
// its own as its profile, on Windows (under Wine) with the user's profile.
// Only the program's own port-80 socket listens beyond 127.0.0.1; every
// connection of the test goes to 127.0.0.1. The program is killed if it
// overstays.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "platform/child_process.h"
#include "platform/ini_file_profile.h"
#include "platform/profile_store.h"
#include "platform/sockets.h"
#include "tests/server/http_client.h"
#include "tests/test_files.h"

namespace lyro {
namespace {

using namespace std::chrono_literals;
using test::fetch;
using test::is_page_reply;
using test::page_response;
using test::ScratchDir;

constexpr std::uint16_t kPort = 80;

// The program of this build, or the one that SONGSERV_PROGRAM names (the
// release test runs these tests on the songserv of the unpacked zip).
std::string program_path() {
    const char* chosen = std::getenv("SONGSERV_PROGRAM");
    std::string path = chosen && *chosen ? chosen : SONGSERV_PROGRAM;
#ifdef _WIN32
    // Built on the host: under Wine its folders are on drive Z:.
    if (!path.empty() && path.front() == '/') {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "Z:" + path;
    }
#endif
    return path;
}

// The console text as the program writes it: on Windows standard output is
// in text mode, so every line feed is written as CR LF.
std::string as_console(std::string text) {
#ifdef _WIN32
    std::string out;
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
#else
    return text;
#endif
}

std::string cycle_text(std::string_view request, std::string_view page) {
    const std::string response = page_response(page);
    return "\n\nHTTP Server waiting on port 80:\n\n Command Received:" + std::string(request) +
           "\nSTATUS:" + std::to_string(response.size()) + "\nSent : " + response +
           "\nLoop completed\n";
}

std::size_t count_of(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// One run of the program in a scratch folder, with its profile.
class ProgramRun {
public:
    explicit ProgramRun(std::string_view page) {
        test::write_file(dir_.file("index.html"), page);
#ifdef _WIN32
        profile_ = open_user_profile(kProfileSection);
#else
        profile_ = std::make_unique<IniFileProfile>(
            dir_.file("prefix/drive_c/windows/win.ini"), kProfileSection);
        setup_.environment.emplace_back("WINEPREFIX", dir_.file("prefix"));
#endif
        setup_.program = program_path();
        setup_.working_dir = dir_.path().string();
        setup_.stdout_path = dir_.file("stdout.txt");
        setup_.stderr_path = dir_.file("stderr.txt");
    }

    // On Windows the profile is the prefix's own WIN.INI, shared with the
    // other tests: the stage port is set back to its default afterwards.
    ~ProgramRun() { profile_->write_string(kStagePortKey, ""); }

    ProfileStore& profile() { return *profile_; }
    void start() { child_ = std::make_unique<ChildProcess>(setup_); }
    ChildProcess& child() { return *child_; }
    std::string out() const { return test::read_file(setup_.stdout_path); }
    std::string err() const { return test::read_file(setup_.stderr_path); }

    // Waits until the program has printed its waiting line `n` times.
    bool wait_for_waiting_line(std::size_t n) {
        const auto deadline = std::chrono::steady_clock::now() + 15s;
        while (count_of(out(), "HTTP Server waiting on port 80:") < n) {
            if (std::chrono::steady_clock::now() > deadline || child_->wait_for(0ms)) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

private:
    ScratchDir dir_;
    std::unique_ptr<ProfileStore> profile_;
    ChildSetup setup_;
    std::unique_ptr<ChildProcess> child_;
};

TEST(SongservProgram, ServesPort80UntilTheProfileAsksItToStop) {
    const auto sockets = open_system_sockets();  // the test's own connections
    const std::string page = "<html><body>\r\nAmazing grace\r\n</body></html>\r\n";
    ProgramRun run(page);
    ASSERT_TRUE(run.profile().write_string(kTerminateKey, "1"));  // left from an earlier run
    // Without the stage view port 80's console is exactly what it was.
    ASSERT_TRUE(run.profile().write_string(kStagePortKey, "0"));
    run.start();
    ASSERT_TRUE(run.child().started());
    ASSERT_TRUE(run.wait_for_waiting_line(1)) << run.err();
    EXPECT_EQ(run.profile().read_int(kRunningKey, 0), 1);
    EXPECT_EQ(run.profile().read_int(kTerminateKey, 7), 0);

    const std::string first = "GET / HTTP/1.1\r\nHost: projector\r\n\r\n";
    EXPECT_TRUE(is_page_reply(fetch(kPort, first), page));
    ASSERT_TRUE(run.wait_for_waiting_line(2));

    ASSERT_TRUE(run.profile().write_string(kTerminateKey, "1"));
    EXPECT_FALSE(run.child().wait_for(300ms));  // it cannot see the request while it waits
    const std::string second = "GET /favicon.ico HTTP/1.1\r\n\r\n";
    EXPECT_TRUE(is_page_reply(fetch(kPort, second), page));
    EXPECT_EQ(run.child().wait_for(15s), 0);
    EXPECT_EQ(run.profile().read_int(kRunningKey, 7), 0);

    EXPECT_EQ(run.out(), as_console("Server program for Lyrovant\n" + cycle_text(first, page) +
                                    cycle_text(second, page)));
    EXPECT_EQ(run.err(), "");
}

TEST(SongservProgram, ATakenPort80EndsItWithUnableToBindAndStatus1) {
    const auto sockets = open_system_sockets();
    ListenOptions loopback_80;
    loopback_80.port = kPort;
    loopback_80.loopback_only = true;
    const ListenResult blocker = sockets->listen(loopback_80);
    ASSERT_TRUE(blocker.listener) << "port 80 is in use: " << blocker.error_text;

    ProgramRun run("<p>x</p>");
    ASSERT_TRUE(run.profile().write_string(kStagePortKey, "0"));
    run.start();
    ASSERT_TRUE(run.child().started());
    EXPECT_EQ(run.child().wait_for(15s), 1);
    EXPECT_EQ(run.out(), as_console("Server program for Lyrovant\n"));
#ifdef _WIN32
    const std::string err = run.err();
    EXPECT_EQ(err.rfind("Unable to bind: ", 0), 0u) << err;
    EXPECT_GT(err.size(), 18u) << err;
#else
    EXPECT_EQ(run.err(), "Unable to bind: Address already in use\n");
#endif
    EXPECT_EQ(run.profile().read_int(kRunningKey, 0), 1);
}

// A port of 127.0.0.1 that no one holds at the moment.
std::uint16_t free_port(SocketLayer& sockets) {
    const ListenResult probe = sockets.listen(ListenOptions{0, true});
    return probe.listener ? probe.listener->port() : 0;
}

// Stops the program as songdesk does: TERMINATE=1, then one more page.
void stop_program(ProgramRun& run) {
    ASSERT_TRUE(run.profile().write_string(kTerminateKey, "1"));
    EXPECT_TRUE(fetch(kPort, test::kGet).connected);
    EXPECT_EQ(run.child().wait_for(15s), 0);
}

TEST(SongservProgram, ServesTheStageViewOnThePortThatTheProfileNames) {
    const auto sockets = open_system_sockets();
    const std::uint16_t stage = free_port(*sockets);
    ASSERT_NE(stage, 0);
    ProgramRun run("<p>x</p>");
    ASSERT_TRUE(run.profile().write_string(kTerminateKey, "0"));
    ASSERT_TRUE(run.profile().write_string(kStagePortKey, std::to_string(stage)));
    run.start();
    ASSERT_TRUE(run.wait_for_waiting_line(1)) << run.err();

    const test::Reply page = fetch(stage, "GET / HTTP/1.1\r\nHost: tablet\r\n\r\n");
    EXPECT_EQ(page.bytes.substr(0, 17), "HTTP/1.1 200 OK\r\n");
    EXPECT_NE(page.bytes.find("<!DOCTYPE html>"), std::string::npos);
    EXPECT_EQ(fetch(stage, "GET /x HTTP/1.1\r\n\r\n").bytes.substr(0, 12), "HTTP/1.1 404");
    stop_program(run);

    // The start line, one line per address of the machine, then port 80.
    const std::string out = run.out();
    const std::string start = as_console("Server program for Lyrovant\nStage view: http://");
    EXPECT_EQ(out.substr(0, start.size()), start) << out;
    const std::string tail = as_console(":" + std::to_string(stage) + "/\n\n\nHTTP Server waiting on port 80:");
    EXPECT_NE(out.find(tail), std::string::npos) << out;
    EXPECT_EQ(run.err(), "");
}

TEST(SongservProgram, AStagePortThatIsTakenIsOneLineAndPort80ServesOn) {
    const auto sockets = open_system_sockets();
    // Held on every address, as the program would bind it.
    const ListenResult blocker = sockets->listen(ListenOptions{0, false});
    ASSERT_TRUE(blocker.listener);
    const std::uint16_t stage = blocker.listener->port();
    ProgramRun run("<p>x</p>");
    ASSERT_TRUE(run.profile().write_string(kTerminateKey, "0"));
    ASSERT_TRUE(run.profile().write_string(kStagePortKey, std::to_string(stage)));
    run.start();
    ASSERT_TRUE(run.wait_for_waiting_line(1)) << run.err();
    EXPECT_TRUE(is_page_reply(fetch(kPort, test::kGet), "<p>x</p>"));
    stop_program(run);
    const std::string err = run.err();
    const std::string first = "Stage view: port " + std::to_string(stage) +
                              " could not be opened (Unable to bind: ";
    EXPECT_EQ(err.rfind(first, 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(run.out().find("Stage view: http"), std::string::npos);
}

}  // namespace
}  // namespace lyro
