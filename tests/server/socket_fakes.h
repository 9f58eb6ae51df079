// Sockets in memory for the server's unit tests: connections that deliver
// a given request, take the answer in pieces of a chosen size and can fail
// after a chosen number of bytes; a listener that hands them out in order.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/sockets.h"

namespace lyro::test {

// What a fake connection received and how it ended; kept by the test after
// the server has closed the connection.
struct FakePeer {
    std::string request;               // delivered by the first receive
    std::size_t send_piece = SIZE_MAX; // the most bytes one send takes
    std::size_t fail_after = SIZE_MAX; // sends fail once this many were taken
    std::size_t delivered = 0;         // request bytes the server has read
    std::string received;              // what the server sent
    int sends = 0;
    bool finished = false;  // the server said it sends nothing more
    bool closed = false;
};

class FakeConnection final : public Connection {
public:
    explicit FakeConnection(std::shared_ptr<FakePeer> peer) : peer_(std::move(peer)) {}
    ~FakeConnection() override { peer_->closed = true; }

    std::ptrdiff_t receive(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, peer_->request.size() - peer_->delivered);
        std::memcpy(buffer, peer_->request.data() + peer_->delivered, n);
        peer_->delivered += n;
        return static_cast<std::ptrdiff_t>(n);
    }

    std::ptrdiff_t send(const char* bytes, std::size_t size) override {
        ++peer_->sends;
        if (peer_->received.size() >= peer_->fail_after) return -1;
        const std::size_t n =
            std::min({size, peer_->send_piece, peer_->fail_after - peer_->received.size()});
        peer_->received.append(bytes, n);
        return static_cast<std::ptrdiff_t>(n);
    }

    void finish_sending() override { peer_->finished = true; }
    bool wait_for_data(std::chrono::milliseconds) override { return true; }

private:
    std::shared_ptr<FakePeer> peer_;
};

// Hands out one connection per accept; a null peer is a failed accept.
class FakeListener final : public Listener {
public:
    std::shared_ptr<FakePeer> add_peer(std::string request) {
        auto peer = std::make_shared<FakePeer>();
        peer->request = std::move(request);
        peers_.push_back(peer);
        return peer;
    }
    void add_failed_accept() { peers_.push_back(nullptr); }

    std::unique_ptr<Connection> accept() override {
        ++accepts;
        if (on_accept) on_accept(accepts);
        if (peers_.empty()) return nullptr;
        auto peer = peers_.front();
        peers_.pop_front();
        if (!peer) return nullptr;
        return std::make_unique<FakeConnection>(peer);
    }
    std::uint16_t port() const override { return 80; }

    int accepts = 0;
    // Called with the number of the accept, before it hands out its peer.
    std::function<void(int)> on_accept;

private:
    std::deque<std::shared_ptr<FakePeer>> peers_;
};

// Hands on to a listener that the test keeps.
class ListenerRef final : public Listener {
public:
    explicit ListenerRef(Listener& real) : real_(real) {}
    std::unique_ptr<Connection> accept() override { return real_.accept(); }
    std::uint16_t port() const override { return real_.port(); }

private:
    Listener& real_;
};

// A socket layer whose start or listening fails as the test chooses, and
// which hands out the test's fake listener otherwise.
class FakeSockets final : public SocketLayer {
public:
    int startup_code = 0;
    std::optional<ListenStep> failing_step;
    std::string failure_text = "the reason";
    FakeListener listener;
    int listens = 0;

    int startup_error() const override { return startup_code; }
    ListenResult listen(const ListenOptions&) override {
        ++listens;
        ListenResult r;
        if (failing_step) {
            r.failed_step = *failing_step;
            r.error_text = failure_text;
        } else {
            r.listener = std::make_unique<ListenerRef>(listener);
        }
        return r;
    }
};

}  // namespace lyro::test
