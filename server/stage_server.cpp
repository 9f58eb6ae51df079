// The stage port's clients and the state they follow; see stage_server.h.
#include "server/stage_server.h"

#include <algorithm>

#include "server/stage_http.h"

namespace lyro {

namespace {

constexpr int kAcceptBatch = 64;
constexpr std::size_t kScratchSize = 16 * 1024;

}  // namespace

StageServer::StageServer(const ServerConfig& config, Listener& listener)
    : config_(config), listener_(listener),
      feed_(config.stage.state_path, config.stage.state_max), scratch_(kScratchSize) {}

void StageServer::gather(std::vector<WaitItem>& items, SteadyTime now) const {
    items.push_back({&listener_, now >= listener_rests_until_, false, false, false});
    for (const auto& s : sessions_)
        items.push_back({s->socket(), s->wants_read(), s->wants_write(), false, false});
}

SteadyTime StageServer::next_wake() const {
    SteadyTime next = SteadyTime::max();
    if (listener_rests_until_ != SteadyTime{}) next = listener_rests_until_;
    if (streams_ > 0) next = std::min(next, next_look_);
    for (const auto& s : sessions_) next = std::min(next, s->deadline());
    return next;
}

void StageServer::serve(std::span<const WaitItem> items, SteadyTime now) {
    look_at_state(now);
    for (std::size_t i = 0; i < sessions_.size(); ++i) {
        StageSession& s = *sessions_[i];
        const WaitItem& item = items[i + 1];
        if (item.readable) s.on_readable(now, scratch_);
        if (item.writable) s.on_writable(now);
        s.on_time(now);
        advance(s, now);
    }
    std::erase_if(sessions_, [](const auto& s) { return s->phase() == StageSession::Phase::closed; });
    streams_ = static_cast<std::size_t>(std::count_if(sessions_.begin(), sessions_.end(), [](const auto& s) {
        return s->phase() == StageSession::Phase::streaming;
    }));
    if (now >= listener_rests_until_) listener_rests_until_ = {};
    if (!items.empty() && items.front().readable) accept_waiting(now);
}

void StageServer::accept_waiting(SteadyTime now) {
    for (int taken = 0; taken < kAcceptBatch; ++taken) {
        Accepted accepted = listener_.accept();
        if (accepted.would_block) return;
        if (!accepted.connection) {
            // No descriptors left, say: rest rather than spin.
            listener_rests_until_ = now + config_.accept_retry_pause;
            return;
        }
        if (sessions_.size() >= config_.stage.client_limit) continue;  // closed unanswered
        auto session = std::make_unique<StageSession>(std::move(accepted.connection), now,
                                                      config_.stage, config_.deadline);
        session->on_readable(now, scratch_);  // the request usually came with it
        advance(*session, now);
        if (session->phase() != StageSession::Phase::closed) sessions_.push_back(std::move(session));
    }
}

// Answers a client whose request is in.
void StageServer::advance(StageSession& session, SteadyTime now) {
    if (session.phase() != StageSession::Phase::ready) return;
    const StageRequest request = stage_request(session.request());
    if (request.target != StageTarget::events || request.head) {
        session.answer(stage_answer(request), now);
        return;
    }
    // The newest state at once, not the one of up to a look ago; a state
    // found so is news for the other streams too.
    const std::uint64_t before = feed_.version();
    feed_.refresh();
    session.open_stream(stage_stream_opening(), feed_.event(), now);
    if (feed_.version() != before) offer_to_streams(now);
    ++streams_;
}

void StageServer::look_at_state(SteadyTime now) {
    if (streams_ == 0 || now < next_look_) return;
    next_look_ = now + config_.stage.watch_interval;
    if (feed_.refresh()) offer_to_streams(now);
}

void StageServer::offer_to_streams(SteadyTime now) {
    const auto event = feed_.event();
    for (const auto& s : sessions_) s->offer(event, now);
}

}  // namespace lyro
