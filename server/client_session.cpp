// A client's connection, phase by phase.
#include "server/client_session.h"

#include <algorithm>
#include <utility>

namespace lyro {

namespace {

// What a client may still send after its answer before the connection is
// closed anyway.
constexpr std::size_t kDrainMax = 256 * 1024;

// A request has arrived with the empty line that ends its header; bare
// line feeds count as line ends too, as most servers take them. `from` is
// where the newest bytes begin.
bool has_header_end(std::string_view request, std::size_t from) {
    const std::size_t start = from < 3 ? 0 : from - 3;
    const std::string_view tail = request.substr(start);
    return tail.find("\n\n") != std::string_view::npos ||
           tail.find("\n\r\n") != std::string_view::npos;
}

}  // namespace

ClientSession::ClientSession(std::unique_ptr<Connection> connection, SteadyTime now,
                             const ServerConfig& config)
    : connection_(std::move(connection)), config_(config), deadline_(now + config.deadline) {}

void ClientSession::on_readable(SteadyTime now, std::span<char> scratch) {
    if (phase_ == Phase::draining) return drain(now, scratch);
    if (phase_ != Phase::reading) return;
    const std::ptrdiff_t n = connection_->receive(scratch.data(), scratch.size());
    if (n == kWouldBlock) return;
    if (n < 0) {
        // Reset before its request was in: there is no one to answer.
        phase_ = Phase::closed;
        return;
    }
    // A client that has finished sending has sent its whole request,
    // whatever it holds, even nothing.
    if (n == 0) {
        phase_ = Phase::ready;
        return;
    }
    keep_request_bytes(std::string_view(scratch.data(), static_cast<std::size_t>(n)));
}

void ClientSession::keep_request_bytes(std::string_view bytes) {
    const std::size_t from = request_.size();
    request_.append(bytes.substr(0, kRequestMax - from));
    if (request_.size() == kRequestMax || has_header_end(request_, from)) phase_ = Phase::ready;
}

void ClientSession::answer(std::string response, SteadyTime now) {
    response_ = std::move(response);
    phase_ = Phase::sending;
    deadline_ = now + config_.deadline;
    on_writable();
}

void ClientSession::on_writable() {
    while (phase_ == Phase::sending) {
        if (sent_ == response_.size()) {
            phase_ = Phase::answered;
            return;
        }
        const std::ptrdiff_t n =
            connection_->send(response_.data() + sent_, response_.size() - sent_);
        if (n == kWouldBlock) return;
        if (n <= 0) {
            phase_ = Phase::answered;  // the client is gone: the echo shows what it got
            return;
        }
        sent_ += static_cast<std::size_t>(n);
    }
}

void ClientSession::on_time(SteadyTime now) {
    if (now < deadline_) return;
    if (phase_ == Phase::sending)
        phase_ = Phase::answered;
    else if (phase_ == Phase::reading || phase_ == Phase::draining)
        phase_ = Phase::closed;
}

std::int64_t ClientSession::sent() const {
    return sent_ == 0 && !response_.empty() ? -1 : static_cast<std::int64_t>(sent_);
}

void ClientSession::finish(SteadyTime now, std::span<char> scratch) {
    if (phase_ != Phase::answered) return;
    // The echo has been printed: the page need not be held any longer.
    std::string().swap(response_);
    std::string().swap(request_);
    connection_->finish_sending();
    phase_ = Phase::draining;
    drain_end_ = now + config_.deadline;
    deadline_ = now;  // nothing waiting to be read yet: close at once, the usual case
    drain(now, scratch);
}

void ClientSession::drain(SteadyTime now, std::span<char> scratch) {
    const std::ptrdiff_t n = connection_->receive(scratch.data(), scratch.size());
    if (n == kWouldBlock && now < deadline_) return;  // woken early: nothing yet
    if (n > 0) drained_ += static_cast<std::size_t>(n);
    if (n <= 0 || drained_ >= kDrainMax || now >= drain_end_) {
        phase_ = Phase::closed;
        connection_.reset();
        return;
    }
    deadline_ = std::min(now + config_.close_wait, drain_end_);
}

}  // namespace lyro
