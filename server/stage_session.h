// One connection to the stage port: its request read as it arrives, then
// either one answer and the close, or the event stream, held open for as
// long as the client takes what it is sent. A stream never queues: a client
// still busy with one state gets only the newest after it, so a slow
// tablet costs memory for one state at most and never delays the others.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/sockets.h"
#include "server/server_config.h"

namespace lyro {

class StageSession {
public:
    enum class Phase {
        reading,    // the request has not all arrived
        ready,      // it has: the server is to answer it
        answering,  // one answer, then the close
        streaming,  // the event stream
        draining,   // the answer is out: reading what the client still sends
        closed,
    };

    StageSession(std::unique_ptr<Connection> connection, SteadyTime now, const StageConfig& config,
                 std::chrono::milliseconds request_time);

    Phase phase() const { return phase_; }
    Socket* socket() const { return connection_.get(); }
    bool wants_read() const { return phase_ != Phase::ready && phase_ != Phase::closed; }
    bool wants_write() const;
    // When the session must be looked at again even if its socket is quiet.
    SteadyTime deadline() const;
    std::string_view request() const { return request_; }

    void on_readable(SteadyTime now, std::span<char> scratch);
    void on_writable(SteadyTime now);
    // Closes a request that did not arrive in time or a stream that took
    // nothing for too long, and sends a stream's keep-alive comment.
    void on_time(SteadyTime now);

    // Sends `text` and closes.
    void answer(std::string text, SteadyTime now);
    // Opens the stream with `opening` and the current state's event (null
    // before songdesk has published one).
    void open_stream(std::string opening, std::shared_ptr<const std::string> event,
                     SteadyTime now);
    // A new state for a streaming client: sent after what it is sending.
    void offer(std::shared_ptr<const std::string> event, SteadyTime now);

private:
    bool has_pending() const;
    void close();
    void send_pending(SteadyTime now);

    std::unique_ptr<Connection> connection_;
    const StageConfig& config_;
    Phase phase_ = Phase::reading;
    SteadyTime deadline_;         // reading, answering and draining
    SteadyTime last_progress_;    // streaming: when the client last took bytes
    SteadyTime next_beat_;        // streaming: when the keep-alive comment is due
    std::string request_;
    std::string own_;             // answer, stream opening or comment, sent first
    std::size_t own_sent_ = 0;
    std::shared_ptr<const std::string> event_;  // the state being sent
    std::size_t event_sent_ = 0;
    std::shared_ptr<const std::string> next_;   // the newest state, after it
    std::size_t drained_ = 0;
};

}  // namespace lyro
