// What a run of the song server is set up with: the program uses the
// defaults (port 80 on every local address, index.html in the working
// folder, the console); tests choose a free port on 127.0.0.1, short time
// limits and files of their own.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "platform/sockets.h"

namespace lyro {

using SteadyTime = std::chrono::steady_clock::time_point;

// The stage view's port: the stage page and the stream of the states that
// songdesk publishes in stage.json.
struct StageConfig {
    // Read STAGEPORT from the profile (the program): 8080 when missing, 0
    // for no stage view. Otherwise `listen` says (the tests).
    bool port_from_profile = false;
    std::optional<ListenOptions> listen;  // none: no stage view
    std::string state_path = "stage.json";
    // How often the file is looked at while a stream is open: a new state
    // reaches the browsers within this time and the sending.
    std::chrono::milliseconds watch_interval{10};
    // A comment on every idle stream this often, so that the browser and
    // the server find a dead connection.
    std::chrono::milliseconds keep_alive{15000};
    // A client that takes nothing for this long while something waits for
    // it is closed; so is one whose answer waits that long.
    std::chrono::milliseconds stall_limit{5000};
    // How long a closed answer waits for what the client still sends.
    std::chrono::milliseconds close_wait{500};
    // Stage clients held at once; one more is closed unanswered.
    std::size_t client_limit = 4096;
    // A larger state is not sent: it cannot be one that songdesk wrote.
    std::size_t state_max = 4 * 1024 * 1024;
};

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
    StageConfig stage;
};

}  // namespace lyro
