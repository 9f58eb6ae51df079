// Sockets in memory for the server's unit tests: connections that deliver a
// given request in pieces, take the answer in pieces of a chosen size, can
// stop reading or fail after a chosen number of bytes; a listener that
// hands them out in order; a socket layer whose wait sees all of them and
// whose clock moves on only while the server waits.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/sockets.h"

namespace lyro::test {

// What a fake connection received and how it ended; kept by the test after
// the server has closed the connection.
struct FakePeer {
    std::string request;                  // what the client sends
    std::size_t receive_piece = SIZE_MAX; // the most bytes one receive gets
    bool ends = true;   // after its request the client finishes sending
    bool takes = true;  // it reads its answer (false: sends would block)
    std::size_t send_piece = SIZE_MAX; // the most bytes one send takes
    std::size_t fail_after = SIZE_MAX; // sends fail once this many were taken
    std::size_t delivered = 0;         // request bytes the server has read
    int receives = 0;                  // the server's receive calls
    std::string received;              // what the server sent
    int sends = 0;
    bool finished = false;  // the server said it sends nothing more
    bool closed = false;

    bool has_data() const { return delivered < request.size() || ends; }
};

class FakeConnection final : public Connection {
public:
    explicit FakeConnection(std::shared_ptr<FakePeer> peer) : peer_(std::move(peer)) {}
    ~FakeConnection() override { peer_->closed = true; }

    std::ptrdiff_t receive(char* buffer, std::size_t size) override {
        ++peer_->receives;
        if (!peer_->has_data()) return kWouldBlock;
        const std::size_t n = std::min(
            {size, peer_->receive_piece, peer_->request.size() - peer_->delivered});
        std::memcpy(buffer, peer_->request.data() + peer_->delivered, n);
        peer_->delivered += n;
        return static_cast<std::ptrdiff_t>(n);
    }

    std::ptrdiff_t send(const char* bytes, std::size_t size) override {
        ++peer_->sends;
        if (peer_->received.size() >= peer_->fail_after) return -1;
        if (!peer_->takes) return kWouldBlock;
        const std::size_t n =
            std::min({size, peer_->send_piece, peer_->fail_after - peer_->received.size()});
        peer_->received.append(bytes, n);
        return static_cast<std::ptrdiff_t>(n);
    }

    void finish_sending() override { peer_->finished = true; }
    const FakePeer& peer() const { return *peer_; }

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
    bool has_waiting() const { return !peers_.empty(); }

    Accepted accept() override {
        Accepted a;
        if (peers_.empty()) {
            a.would_block = true;
            return a;
        }
        ++accepts;
        auto peer = peers_.front();
        peers_.pop_front();
        if (peer) a.connection = std::make_unique<FakeConnection>(peer);
        return a;
    }
    std::uint16_t port() const override { return 80; }

    int accepts = 0;

private:
    std::deque<std::shared_ptr<FakePeer>> peers_;
};

// Hands on to the listener that the test keeps.
class ListenerRef final : public Listener {
public:
    explicit ListenerRef(FakeListener& real) : real(real) {}
    Accepted accept() override { return real.accept(); }
    std::uint16_t port() const override { return real.port(); }
    FakeListener& real;
};

// A socket layer whose start or listening fails as the test chooses, which
// hands out the test's fake listener otherwise, and whose wait sees what
// the fakes hold. Time is its own: a wait with nothing ready moves its
// clock on to the end of the wait at once. A server still waiting after
// `idle_limit` of nothing to do is ended by an exception, so that a test
// that fails cannot hang.
class FakeSockets final : public SocketLayer {
public:
    int startup_code = 0;
    std::optional<ListenStep> failing_step;
    std::string failure_text = "the reason";
    FakeListener listener;
    int listens = 0;
    std::chrono::milliseconds idle_limit{5000};
    // Runs whenever the server waits with nothing ready, as time passes.
    std::function<void()> on_idle;

    // The clock for the server's config.
    std::function<std::chrono::steady_clock::time_point()> clock() {
        return [this] { return now_; };
    }

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

    int wait(std::span<WaitItem> items, std::chrono::milliseconds limit) override {
        int ready = 0;
        for (auto& item : items) {
            mark(item);
            ready += item.readable || item.writable;
        }
        if (ready == 0) pass_time(limit);
        return ready;
    }

private:
    static void mark(WaitItem& item) {
        if (auto* l = dynamic_cast<ListenerRef*>(item.socket)) {
            item.readable = item.want_read && l->real.has_waiting();
        } else if (auto* c = dynamic_cast<FakeConnection*>(item.socket)) {
            item.readable = item.want_read && c->peer().has_data();
            item.writable = item.want_write && c->peer().takes;
        }
    }

    void pass_time(std::chrono::milliseconds limit) {
        const auto step = limit.count() < 0 ? std::chrono::milliseconds(20) : limit;
        if (on_idle) on_idle();
        idle_ += step;
        if (idle_ > idle_limit) throw std::runtime_error("the server waits with nothing to do");
        now_ += step;
    }

    std::chrono::milliseconds idle_{0};
    std::chrono::steady_clock::time_point now_{};
};

}  // namespace lyro::test
