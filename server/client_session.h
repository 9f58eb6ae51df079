// One client's connection from its acceptance to its close: its request
// read as it arrives, its answer sent as fast as the client takes it, then
// what the client still sends read and dropped, so that closing does not
// reset the connection under the answer. Nothing here waits: the serving
// loop calls in when the connection is ready or time has passed.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/sockets.h"
#include "server/server_config.h"

namespace lyro {

// The most request bytes kept (and echoed) per connection; the rest of a
// longer request is read and dropped.
inline constexpr std::size_t kRequestMax = 32767;

class ClientSession {
public:
    enum class Phase {
        reading,   // the request has not all arrived
        ready,     // it has: the loop is to give the answer
        sending,
        answered,  // sent, or the client stopped taking it: the loop echoes it
        draining,  // reading what the client still sends before closing
        closed,
    };

    ClientSession(std::unique_ptr<Connection> connection, SteadyTime now,
                  const ServerConfig& config);

    Phase phase() const { return phase_; }
    Socket* socket() const { return connection_.get(); }
    bool wants_read() const { return phase_ == Phase::reading || phase_ == Phase::draining; }
    bool wants_write() const { return phase_ == Phase::sending; }
    // When the current phase runs out of time.
    SteadyTime deadline() const { return deadline_; }

    // The connection has something to receive; `scratch` takes it.
    void on_readable(SteadyTime now, std::span<char> scratch);
    // The connection has room to send.
    void on_writable();
    // Ends the phase whose deadline has passed: a request that has not
    // arrived is closed without an answer, an answer the client does not
    // take is given up, draining stops.
    void on_time(SteadyTime now);

    // Starts sending `response` to a client whose request is in, sending as
    // much as the connection takes at once.
    void answer(std::string response, SteadyTime now);
    // After the answer is echoed: tells the client that nothing more comes
    // and closes, or drains first if the client is still sending.
    void finish(SteadyTime now, std::span<char> scratch);

    std::string_view request() const { return request_; }
    std::string_view response() const { return response_; }
    // The bytes of the answer sent, or -1 when not one could be sent.
    std::int64_t sent() const;

private:
    void keep_request_bytes(std::string_view bytes);
    void drain(SteadyTime now, std::span<char> scratch);

    std::unique_ptr<Connection> connection_;
    const ServerConfig& config_;
    Phase phase_ = Phase::reading;
    SteadyTime deadline_;
    SteadyTime drain_end_;
    std::string request_;
    std::string response_;
    std::size_t sent_ = 0;
    std::size_t drained_ = 0;
};

}  // namespace lyro
