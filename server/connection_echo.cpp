// The console lines of the song server.
#include "server/connection_echo.h"

#include <cstring>

namespace lyro {

namespace {

void append_as_c_text(std::string& text, std::string_view bytes) {
    const auto* zero = static_cast<const char*>(std::memchr(bytes.data(), '\0', bytes.size()));
    text.append(bytes.substr(0, zero ? static_cast<std::size_t>(zero - bytes.data()) : bytes.size()));
}

}  // namespace

void append_waiting_line(std::string& text, std::uint16_t port) {
    text.append("\n\nHTTP Server waiting on port ").append(std::to_string(port)).append(":");
}

void append_served_block(std::string& text, std::string_view request, std::int64_t sent,
                         std::string_view response) {
    text.append("\n\n Command Received:");
    append_as_c_text(text, request);
    text.append("\nSTATUS:").append(std::to_string(sent)).append("\nSent : ");
    append_as_c_text(text, response);
    text.append("\nLoop completed\n");
}

}  // namespace lyro
