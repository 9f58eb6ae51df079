// What a run of the song server is set up with: the program uses the
// defaults (port 80 on every local address, index.html in the working
// folder, the console); tests choose a free port on 127.0.0.1, short time
// limits and files of their own.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/sockets.h"

namespace lyro {

using SteadyTime = std::chrono::steady_clock::time_point;

struct ServerConfig {
    ListenOptions listen;
    // The time a client has to send its request, and again to take its
    // answer. A client that sends nothing (a browser's speculative
    // connection, a phone gone to sleep) is closed without an answer when
    // it is up; it costs the other clients nothing meanwhile.
    std::chrono::milliseconds deadline{5000};
    // A client still sending when its answer is out (a request longer than
    // the server reads) is read on until it closes, with at most this wait
    // between its pieces and at most the deadline in all: closing with
    // unread bytes resets the connection and can destroy the answer before
    // the client has read it.
    std::chrono::milliseconds close_wait{500};
    // The most connections open at once; one more is closed as soon as it
    // is taken, without an answer.
    std::size_t connection_limit = 1024;
    std::string page_path = "index.html";
    std::FILE* out = stdout;  // progress and the echo of every connection
    std::FILE* err = stderr;  // failures of socket steps
    // After a failed accept the listener rests this long, so that a
    // lasting failure (no descriptors left) does not spin.
    std::chrono::milliseconds accept_retry_pause{100};
    // Where the server reads the time; tests and fuzzing pass a clock of
    // their own, so that deadlines pass without waiting for them.
    std::function<SteadyTime()> clock = [] { return std::chrono::steady_clock::now(); };
};

}  // namespace lyro
