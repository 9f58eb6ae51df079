// The console text of the song server: the line it shows while it waits,
// and the block of lines for each connection it has served, put together
// whole so that one connection's lines never mix with another's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lyro {

// "\n\nHTTP Server waiting on port <port>:"
void append_waiting_line(std::string& text, std::uint16_t port);

// The request received, the send's result (bytes sent, or -1), the
// response, and the end of the cycle. Request and response show the way C
// strings end: up to their first zero byte.
void append_served_block(std::string& text, std::string_view request, std::int64_t sent,
                         std::string_view response);

}  // namespace lyro
