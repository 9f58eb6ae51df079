// A song server running in a thread of the test, with real sockets on a
// free port of 127.0.0.1, its console going to files of a scratch folder.
// It is always stopped before the test ends: through the profile and one
// more connection, as a user stops it, and if it will not stop within ten
// seconds the test program ends at once rather than leave it running.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/profile_store.h"
#include "platform/sockets.h"
#include "server/server_config.h"
#include "server/song_server.h"
#include "tests/server/http_client.h"
#include "tests/test_files.h"

namespace lyro::test {

// The system's sockets, telling the test which port the server got and
// when it waits with no connection open.
class WatchedSockets final : public SocketLayer {
public:
    explicit WatchedSockets(SocketLayer& real) : real_(real) {}
    int startup_error() const override { return real_.startup_error(); }
    // The first listener is port 80's, a second the stage view's.
    ListenResult listen(const ListenOptions& options) override {
        ListenResult r = real_.listen(options);
        const std::uint16_t port = r.listener ? r.listener->port() : 0;
        if (listeners_++ == 0) {
            port_.set_value(port);
        } else {
            stage_port = port;
        }
        if (r.listener && listeners_ > 1) ++open_listeners_;
        return r;
    }
    int wait(std::span<WaitItem> items, std::chrono::milliseconds limit) override {
        // The listeners alone: no connection open on either port.
        waiting = items.size() == 1 + open_listeners_;
        const int n = real_.wait(items, limit);
        waiting = false;
        return n;
    }
    std::future<std::uint16_t> port() { return port_.get_future(); }

    std::atomic<bool> waiting = false;
    std::atomic<std::uint16_t> stage_port = 0;  // 0 until and unless it is open

private:
    SocketLayer& real_;
    std::promise<std::uint16_t> port_;
    int listeners_ = 0;
    std::size_t open_listeners_ = 0;
};

class LiveServer {
public:
    // `adjust`, when given, changes the configuration before the start
    // (the stage view's settings, for one).
    LiveServer(const ScratchDir& dir, ProfileStore& profile,
               std::chrono::milliseconds deadline = std::chrono::milliseconds(2000),
               const std::function<void(ServerConfig&)>& adjust = {})
        : profile_(profile), sockets_(open_system_sockets()), watched_(*sockets_),
          out_path_(dir.file("console.txt")), err_path_(dir.file("errors.txt")) {
        config_.listen.port = 0;
        config_.listen.loopback_only = true;
        config_.deadline = deadline;
        config_.page_path = dir.file("index.html");
        config_.stage.state_path = dir.file("stage.json");
        if (adjust) adjust(config_);
        config_.accept_retry_pause = std::chrono::milliseconds(10);
        config_.out = std::fopen(out_path_.c_str(), "wb");
        config_.err = std::fopen(err_path_.c_str(), "wb");
        auto port = watched_.port();
        auto status = status_.get_future();
        thread_ = std::thread(
            [this] { status_.set_value(run_song_server(config_, watched_, profile_)); });
        status_future_ = std::move(status);
        if (port.wait_for(std::chrono::seconds(10)) == std::future_status::ready)
            port_ = port.get();
    }

    ~LiveServer() {
        stop();
        if (config_.out) std::fclose(config_.out);
        if (config_.err) std::fclose(config_.err);
    }

    LiveServer(const LiveServer&) = delete;
    LiveServer& operator=(const LiveServer&) = delete;

    std::uint16_t port() const { return port_; }
    // The stage view's port once it is open (it opens right after port 80's).
    // 0 when it has not opened within ten seconds.
    std::uint16_t stage_port() const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (watched_.stage_port == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return watched_.stage_port;
    }
    const ServerConfig& config() const { return config_; }

    // The exit status once the server has stopped, waiting at most `limit`.
    std::optional<int> wait_exit(std::chrono::milliseconds limit) {
        if (!exit_ && status_future_.wait_for(limit) == std::future_status::ready) {
            exit_ = status_future_.get();
            thread_.join();
        }
        return exit_;
    }

    // Waits until the server has finished with every connection and waits
    // for the next; false if it does not within ten seconds.
    bool wait_until_waiting() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!watched_.waiting) {
            if (wait_exit(std::chrono::milliseconds(0)) ||
                std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }

    // Asks the server to stop and serves it the one connection it needs.
    // The request is made while it waits, so that it stops after exactly
    // one more cycle.
    void stop() {
        if (!thread_.joinable()) return;
        wait_until_waiting();
        profile_.write_string(kTerminateKey, "1");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!wait_exit(std::chrono::milliseconds(20))) {
            if (std::chrono::steady_clock::now() > deadline) {
                std::fputs("the test's song server did not stop: ending the test program\n",
                           stderr);
                std::_Exit(3);
            }
            fetch(port_, "GET / HTTP/1.0\r\n\r\n", false, std::chrono::milliseconds(500));
        }
    }

    // The console output so far (complete once the server has stopped).
    std::string output() { return contents(config_.out, out_path_); }
    std::string errors() { return contents(config_.err, err_path_); }

private:
    // Read in large blocks: the echo of big pages runs to many megabytes.
    static std::string contents(std::FILE* written, const std::string& path) {
        std::fflush(written);
        std::string text;
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) return text;
        char block[1 << 16];
        std::size_t n = 0;
        while ((n = std::fread(block, 1, sizeof block, f)) > 0) text.append(block, n);
        std::fclose(f);
        return text;
    }

    ProfileStore& profile_;
    std::unique_ptr<SocketLayer> sockets_;  // started before and ended after the thread
    WatchedSockets watched_;
    std::string out_path_;
    std::string err_path_;
    ServerConfig config_;
    std::promise<int> status_;
    std::future<int> status_future_;
    std::optional<int> exit_;
    std::thread thread_;
    std::uint16_t port_ = 0;
};

}  // namespace lyro::test
