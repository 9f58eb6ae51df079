// The server's start, its loop of serving cycles and its stop.
#include "server/song_server.h"

#include <cstdio>

#include "server/serving_loop.h"

namespace lyro {

namespace {

const char* step_word(ListenStep step) {
    switch (step) {
    case ListenStep::socket: return "Socket";
    case ListenStep::setsockopt: return "Setsockopt";
    case ListenStep::bind: return "Unable to bind";
    case ListenStep::listen: return "Listen";
    }
    return "Socket";
}

}  // namespace

int run_song_server(const ServerConfig& config, SocketLayer& sockets, ProfileStore& profile) {
    std::fputs("Server program for Lyrovant\n", config.out);
    // Starting withdraws a stop request left over from an earlier run.
    profile.write_string(kRunningKey, "1");
    profile.write_string(kTerminateKey, "0");

    if (const int code = sockets.startup_error(); code != 0)
        std::fprintf(config.out, "WSAStartup failed: %d\n", code);
    // One listening socket for the whole run, so that no browser is ever
    // refused because it came between two others.
    ListenResult opened = sockets.listen(config.listen);
    if (!opened.listener) {
        std::fflush(config.out);
        std::fprintf(config.err, "%s: %s\n", step_word(opened.failed_step),
                     opened.error_text.c_str());
        std::fflush(config.err);
        return 1;
    }

    ServingLoop(config, sockets, *opened.listener, profile).run();

    profile.write_string(kRunningKey, "0");
    std::fflush(config.out);
    return 0;
}

}  // namespace lyro
