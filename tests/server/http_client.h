// The browser's side for the tests that talk to a real server on
// 127.0.0.1: send a request, read the answer until the server closes, and
// compare it with the one response the server gives.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/sockets.h"

namespace lyro::test {

using namespace std::chrono_literals;

// A whole request, as a browser sends it.
inline constexpr std::string_view kGet = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

struct Reply {
    bool connected = false;
    std::string bytes;   // everything received
    bool ended = false;  // the server closed the connection in order
};

// Sends every byte of `request`, going on after partial sends.
inline bool send_request(Connection& c, std::string_view request) {
    while (!request.empty()) {
        const auto n = c.send(request.data(), request.size());
        if (n <= 0) return false;
        request.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Reads until the server closes the connection or the time limit passes.
inline void read_reply(Connection& c, Reply& reply) {
    char buffer[64 * 1024];
    for (;;) {
        const auto n = c.receive(buffer, sizeof buffer);
        if (n <= 0) {
            reply.ended = n == 0;
            return;
        }
        reply.bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

// What the server sends on an open connection until it closes it.
inline Reply rest_of(Connection& c) {
    Reply reply;
    reply.connected = true;
    read_reply(c, reply);
    return reply;
}

// One request and its answer. With `finish` the client says after the
// request that it sends nothing more, as a client with an empty request
// would.
inline Reply fetch(std::uint16_t port, std::string_view request, bool finish = false,
                   std::chrono::milliseconds limit = 10s) {
    Reply reply;
    auto c = connect_loopback(port, limit);
    if (!c) return reply;
    reply.connected = true;
    if (!send_request(*c, request)) return reply;
    if (finish) c->finish_sending();
    read_reply(*c, reply);
    return reply;
}

// The server's one response for `page`, written out independently of the
// server's code.
inline std::string page_response(std::string_view page) {
    return "HTTP/1.1 200 OK\r\nContent-length: " + std::to_string(page.size()) +
           "\r\nContent-Type: text/html\r\n\r\n" + std::string(page);
}

// Whether `reply` is the whole response for `page`, ended by the server.
inline testing::AssertionResult is_page_reply(const Reply& reply, std::string_view page) {
    if (!reply.connected) return testing::AssertionFailure() << "could not connect";
    const std::string expected = page_response(page);
    if (reply.bytes != expected) {
        auto failure = testing::AssertionFailure()
                       << "got " << reply.bytes.size() << " bytes, expected " << expected.size();
        if (reply.bytes.size() < 200) failure << ": \"" << reply.bytes << "\"";
        return failure;
    }
    if (!reply.ended) return testing::AssertionFailure() << "the connection was not ended in order";
    return testing::AssertionSuccess();
}

}  // namespace lyro::test
