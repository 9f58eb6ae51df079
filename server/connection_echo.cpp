// The console lines of the song server.
#include "server/connection_echo.h"

namespace lyro {

namespace {

void append_as_c_text(std::string& text, std::string_view bytes) {
    text.append(bytes.substr(0, bytes.find('\0')));
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
