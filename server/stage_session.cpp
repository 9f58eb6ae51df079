// A stage client, phase by phase.
#include "server/stage_session.h"

#include <algorithm>
#include <utility>

namespace lyro {

namespace {

// The longest request header read; browsers send well under 2 KB.
constexpr std::size_t kStageRequestMax = 16 * 1024;
// What a client may send after its request (on a stream, or after its
// answer) before it is closed: nothing a browser sends comes near it.
constexpr std::size_t kDrainMax = 256 * 1024;
constexpr std::string_view kKeepAlive = ":\n\n";

bool has_header_end(std::string_view request) {
    return request.find("\n\n") != std::string_view::npos ||
           request.find("\n\r\n") != std::string_view::npos;
}

}  // namespace

StageSession::StageSession(std::unique_ptr<Connection> connection, SteadyTime now,
                           const StageConfig& config, std::chrono::milliseconds request_time)
    : connection_(std::move(connection)), config_(config), deadline_(now + request_time) {}

bool StageSession::has_pending() const {
    return own_sent_ < own_.size() || (event_ && event_sent_ < event_->size());
}

bool StageSession::wants_write() const {
    return (phase_ == Phase::answering || phase_ == Phase::streaming) && has_pending();
}

SteadyTime StageSession::deadline() const {
    if (phase_ != Phase::streaming) return deadline_;
    return has_pending() ? last_progress_ + config_.stall_limit : next_beat_;
}

void StageSession::close() {
    phase_ = Phase::closed;
    connection_.reset();
    own_.clear();
    event_.reset();
    next_.reset();
}

void StageSession::on_readable(SteadyTime now, std::span<char> scratch) {
    if (phase_ == Phase::closed || phase_ == Phase::ready) return;
    const std::ptrdiff_t n = connection_->receive(scratch.data(), scratch.size());
    if (n == kWouldBlock) return;
    if (n <= 0) {
        // A client that has finished sending before its request was whole
        // is owed nothing; one that closes its stream has left.
        if (phase_ == Phase::reading && n == 0 && !request_.empty()) {
            phase_ = Phase::ready;
            return;
        }
        return close();
    }
    const auto size = static_cast<std::size_t>(n);
    if (phase_ != Phase::reading) {
        drained_ += size;
        if (drained_ > kDrainMax) close();
        else if (phase_ == Phase::draining) deadline_ = std::min(deadline_, now + config_.stall_limit);
        return;
    }
    request_.append(scratch.data(), std::min(size, kStageRequestMax - request_.size()));
    if (request_.size() >= kStageRequestMax || has_header_end(request_)) phase_ = Phase::ready;
}

void StageSession::send_pending(SteadyTime now) {
    while (has_pending()) {
        const bool own = own_sent_ < own_.size();
        const std::string& bytes = own ? own_ : *event_;
        std::size_t& sent = own ? own_sent_ : event_sent_;
        const std::ptrdiff_t n = connection_->send(bytes.data() + sent, bytes.size() - sent);
        if (n == kWouldBlock) return;
        if (n <= 0) return close();
        sent += static_cast<std::size_t>(n);
        last_progress_ = now;
        if (own && own_sent_ == own_.size()) {
            own_.clear();
            own_sent_ = 0;
        }
        if (!own && event_sent_ == event_->size() && next_) {
            event_ = std::move(next_);
            event_sent_ = 0;
        }
    }
}

void StageSession::on_writable(SteadyTime now) {
    if (phase_ != Phase::answering && phase_ != Phase::streaming) return;
    send_pending(now);
    if (phase_ == Phase::answering && !has_pending()) {
        connection_->finish_sending();
        phase_ = Phase::draining;
        deadline_ = now + config_.close_wait;
    }
    if (phase_ == Phase::streaming && !has_pending()) next_beat_ = now + config_.keep_alive;
}

void StageSession::on_time(SteadyTime now) {
    switch (phase_) {
    case Phase::reading:
    case Phase::answering:
    case Phase::draining:
        if (now >= deadline_) close();
        return;
    case Phase::streaming:
        if (has_pending()) {
            if (now >= last_progress_ + config_.stall_limit) close();
        } else if (now >= next_beat_) {
            own_.assign(kKeepAlive);
            last_progress_ = now;
            on_writable(now);
        }
        return;
    case Phase::ready:
    case Phase::closed: return;
    }
}

void StageSession::answer(std::string text, SteadyTime now) {
    own_ = std::move(text);
    own_sent_ = 0;
    phase_ = Phase::answering;
    deadline_ = now + config_.stall_limit;
    request_.clear();
    on_writable(now);
}

void StageSession::open_stream(std::string opening, std::shared_ptr<const std::string> event,
                               SteadyTime now) {
    own_ = std::move(opening);
    own_sent_ = 0;
    event_ = std::move(event);
    event_sent_ = 0;
    phase_ = Phase::streaming;
    last_progress_ = now;
    std::string().swap(request_);
    on_writable(now);
}

void StageSession::offer(std::shared_ptr<const std::string> event, SteadyTime now) {
    if (phase_ != Phase::streaming || !event || event == event_ || event == next_) return;
    if (!event_ || event_sent_ == event_->size()) {
        if (!has_pending()) last_progress_ = now;  // its wait for this state starts now
        event_ = std::move(event);
        event_sent_ = 0;
        next_.reset();
    } else {
        next_ = std::move(event);  // an older waiting state is dropped
    }
    on_writable(now);
}

}  // namespace lyro
