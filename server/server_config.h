// What a run of the song server is set up with: the program uses the
// defaults (port 80 on every local address, index.html in the working
// folder, the console); tests choose a free port on 127.0.0.1, short time
// limits and files of their own.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/sockets.h"

namespace lyro {

struct ServerConfig {
    // Its io_timeout is the longest a silent client can hold the server.
    ListenOptions listen;
    // A client still sending when its answer is out (a request longer than
    // the server reads) is read on until it closes, with at most this wait
    // between its pieces and at most io_timeout in all: closing with unread
    // bytes resets the connection and can destroy the answer before the
    // client has read it.
    std::chrono::milliseconds close_wait{500};
    std::string page_path = "index.html";
    std::FILE* out = stdout;  // progress and the echo of every connection
    std::FILE* err = stderr;  // failures of socket steps
    // After a failed accept, so that a lasting failure does not spin.
    std::chrono::milliseconds accept_retry_pause{100};
};

}  // namespace lyro
