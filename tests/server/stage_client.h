// A stage view client for the tests: opens the event stream and reads it
// until what the test waits for has come, within a time limit.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "platform/durable_file.h"
#include "platform/sockets.h"
#include "tests/server/http_client.h"
#include "tests/test_files.h"

namespace lyro::test {

inline constexpr std::string_view kEventsRequest =
    "GET /events HTTP/1.1\r\nHost: 127.0.0.1\r\nAccept: text/event-stream\r\n\r\n";

class StageClient {
public:
    // Connected with a short time limit on each receive, so that reading
    // until something comes can give up.
    explicit StageClient(std::uint16_t port, std::string_view request = kEventsRequest)
        : c_(connect_loopback(port, std::chrono::milliseconds(50))) {
        if (c_ && !send_request(*c_, request)) c_.reset();
    }

    bool connected() const { return c_ != nullptr; }
    Connection& connection() { return *c_; }

    // Reads until `text` has been received (after what earlier waits took),
    // the server closes, or `limit` passes. True when it came.
    bool wait_for(std::string_view text, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        const auto end = std::chrono::steady_clock::now() + limit;
        for (;;) {
            const std::size_t at = received_.find(text, seen_);
            if (at != std::string::npos) {
                seen_ = at + text.size();
                return true;
            }
            if (!c_ || closed_ || std::chrono::steady_clock::now() > end) return false;
            receive_some();
        }
    }

    // Reads until the server closes the connection; true when it did
    // within `limit`.
    bool wait_for_close(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (c_ && !closed_ && std::chrono::steady_clock::now() < end) receive_some();
        return closed_;
    }

    const std::string& received() const { return received_; }

private:
    void receive_some() {
        char buffer[64 * 1024];
        const auto n = c_->receive(buffer, sizeof buffer);
        if (n > 0) received_.append(buffer, static_cast<std::size_t>(n));
        // A time-out shows as -1 too: only 0, the orderly end, or a reset
        // while idle ends the stream for sure; the caller's limit ends the rest.
        if (n == 0) closed_ = true;
    }

    std::unique_ptr<ClientConnection> c_;
    std::string received_;
    std::size_t seen_ = 0;
    bool closed_ = false;
};

// Puts a new stage.json in place in one step, as songdesk does: on
// Windows the replacement waits while songserv has the file open to read.
inline void publish_state(const std::string& path, std::string_view bytes) {
    write_file(path + ".new", bytes);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!replace_file(path + ".new", path)) {
        if (std::chrono::steady_clock::now() > end) {
            ADD_FAILURE() << "stage.json could not be replaced";
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace lyro::test
