// The serving loop: waiting, accepting, and moving each connection on.
#include "server/serving_loop.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "server/connection_echo.h"
#include "server/http_response.h"

namespace lyro {

namespace {

// Connections taken per wake-up, so that a flood of new ones cannot keep
// the open ones waiting.
constexpr int kAcceptBatch = 64;
constexpr std::size_t kScratchSize = 64 * 1024;

}  // namespace

ServingLoop::ServingLoop(const ServerConfig& config, SocketLayer& sockets, Listener& listener,
                         const ProfileStore& profile, StageServer* stage)
    : config_(config), sockets_(sockets), listener_(listener), profile_(profile), stage_(stage),
      port_(listener.port()), scratch_(kScratchSize) {}

void ServingLoop::run() {
    console_.clear();
    append_waiting_line(console_, port_);
    std::fwrite(console_.data(), 1, console_.size(), config_.out);
    std::fflush(config_.out);
    for (;;) {
        gather_wait_items(config_.clock());
        const int ready = sockets_.wait(items_, time_to_next_deadline(config_.clock()));
        // Waiting itself failing is not a client's doing; resting a moment
        // keeps it from spinning until it passes.
        if (ready < 0) std::this_thread::sleep_for(config_.accept_retry_pause);
        const SteadyTime now = config_.clock();
        if (stage_) stage_->serve(std::span(items_).subspan(stage_items_), now);
        if (serve_waiting_sessions(now) || (items_.front().readable && accept_waiting(now))) break;
    }
    sessions_.clear();
}

void ServingLoop::gather_wait_items(SteadyTime now) {
    items_.clear();
    items_.push_back({&listener_, now >= listener_rests_until_, false, false, false});
    for (const auto& s : sessions_)
        items_.push_back({s->socket(), s->wants_read(), s->wants_write(), false, false});
    stage_items_ = items_.size();
    if (stage_) stage_->gather(items_, now);
}

std::chrono::milliseconds ServingLoop::time_to_next_deadline(SteadyTime now) const {
    SteadyTime next = SteadyTime::max();
    if (now < listener_rests_until_) next = listener_rests_until_;
    for (const auto& s : sessions_) next = std::min(next, s->deadline());
    if (stage_) next = std::min(next, stage_->next_wake());
    if (next == SteadyTime::max()) return std::chrono::milliseconds(-1);
    if (next <= now) return std::chrono::milliseconds(0);
    // Rounded up: waking before the deadline would only wait again.
    return std::chrono::ceil<std::chrono::milliseconds>(next - now);
}

// True when the server is to stop.
bool ServingLoop::serve_waiting_sessions(SteadyTime now) {
    for (std::size_t i = 0; i < sessions_.size(); ++i) {
        ClientSession& s = *sessions_[i];
        const WaitItem& item = items_[i + 1];
        if (item.readable) s.on_readable(now, scratch_);
        if (item.writable) s.on_writable();
        s.on_time(now);
        if (advance(s, now)) return true;
    }
    std::erase_if(sessions_, [](const auto& s) {
        return s->phase() == ClientSession::Phase::closed;
    });
    return false;
}

bool ServingLoop::accept_waiting(SteadyTime now) {
    for (int taken = 0; taken < kAcceptBatch; ++taken) {
        Accepted accepted = listener_.accept();
        if (accepted.would_block) return false;
        if (!accepted.connection) {
            // As when a client goes away before it is answered: the echo
            // shows that nothing was received or sent.
            listener_rests_until_ = now + config_.accept_retry_pause;
            return report_served({}, -1, response_with_page());
        }
        // Past the limit a new connection is closed at once, unanswered.
        if (sessions_.size() >= config_.connection_limit) continue;
        auto session = std::make_unique<ClientSession>(std::move(accepted.connection), now, config_);
        // Its request has usually arrived with it.
        session->on_readable(now, scratch_);
        if (advance(*session, now)) return true;
        if (session->phase() != ClientSession::Phase::closed) sessions_.push_back(std::move(session));
    }
    return false;
}

// Gives the answer to a session whose request is in and echoes one whose
// answer is out. True when the server is to stop.
bool ServingLoop::advance(ClientSession& session, SteadyTime now) {
    if (session.phase() == ClientSession::Phase::ready) session.answer(response_with_page(), now);
    if (session.phase() != ClientSession::Phase::answered) return false;
    const bool stop = report_served(session.request(), session.sent(), session.response());
    session.finish(now, scratch_);
    return stop;
}

// The page is read anew for every answer: each shows what songdesk wrote
// last. A missing or unreadable page is answered as an empty one.
std::string ServingLoop::response_with_page() {
    read_page(config_.page_path, page_);
    std::string response;
    build_response(page_, response);
    return response;
}

// Prints the connection's block and, unless TERMINATE now asks to stop,
// the waiting line after it. True when the server is to stop.
bool ServingLoop::report_served(std::string_view request, std::int64_t sent,
                                std::string_view response) {
    console_.clear();
    append_served_block(console_, request, sent, response);
    const bool stop = profile_.read_int(kTerminateKey, 0) == 1;
    if (!stop) append_waiting_line(console_, port_);
    std::fwrite(console_.data(), 1, console_.size(), config_.out);
    std::fflush(config_.out);
    return stop;
}

}  // namespace lyro
