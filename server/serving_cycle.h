// One serving cycle of the song server: wait for one connection, echo its
// request, answer it with the page as it is on disk now, close it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/sockets.h"
#include "server/server_config.h"

namespace lyro {

// The most request bytes received (and echoed) per connection; the rest of
// a longer request is read and dropped before the connection closes.
inline constexpr std::size_t kRequestMax = 32767;

class ServingCycle {
public:
    // Serves connections from `listener`, which must outlive the cycle.
    ServingCycle(const ServerConfig& config, Listener& listener);

    // Runs one cycle, console lines included. A failed accept, a silent
    // client or one that goes away half way ends the cycle normally.
    void serve();

private:
    void echo_request(std::size_t size);
    void report_sent(std::int64_t sent);
    // Reads what the client is still sending until it closes, within the
    // config's limits, so that closing does not reset the connection.
    void drain(Connection& connection);

    const ServerConfig& config_;
    Listener& listener_;
    std::uint16_t port_;
    std::array<char, kRequestMax + 1> request_{};
    std::string page_;      // storage kept from cycle to cycle
    std::string response_;  // likewise
};

// Sends every byte, going on after partial sends until all are sent or the
// peer is gone: the bytes sent, or -1 when not one could be sent.
std::int64_t send_whole(Connection& connection, std::string_view bytes);

}  // namespace lyro
