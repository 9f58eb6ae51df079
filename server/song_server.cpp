// The server's start, its loop of serving cycles and its stop.
#include "server/song_server.h"

#include <cstdio>
#include <optional>
#include <string>

#include "platform/local_addresses.h"
#include "server/serving_loop.h"
#include "server/stage_server.h"

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

// Where the stage view listens: STAGEPORT in the program (8080 when
// missing, 0 for none), what the configuration says in the tests.
std::optional<ListenOptions> stage_listen(const ServerConfig& config, const ProfileStore& profile) {
    if (!config.stage.port_from_profile) return config.stage.listen;
    const int port = profile.read_int(kStagePortKey, 8080);
    if (port == 0) return std::nullopt;
    if (port < 0 || port > 65535) {
        std::fprintf(config.err,
                     "Stage view: STAGEPORT=%d is not a port number (1 to 65535), so there is no "
                     "stage view; port 80 is served as usual\n",
                     port);
        return std::nullopt;
    }
    ListenOptions options = config.listen;
    options.port = static_cast<std::uint16_t>(port);
    return options;
}

// Every state goes out the moment it is read: a small one held back for
// the peer's acknowledgement of the last would arrive tens of
// milliseconds late.
std::optional<ListenOptions> streaming(std::optional<ListenOptions> options) {
    if (options) options->send_at_once = true;
    return options;
}

// Opens the stage view's port and says where the band finds it. A port
// that cannot be opened is reported in one line and leaves port 80 alone:
// the stage view can never stop the room.
std::unique_ptr<Listener> open_stage(const ServerConfig& config, SocketLayer& sockets,
                                     const ProfileStore& profile) {
    const std::optional<ListenOptions> options = streaming(stage_listen(config, profile));
    if (!options) return nullptr;
    ListenResult opened = sockets.listen(*options);
    if (!opened.listener) {
        std::fflush(config.out);
        std::fprintf(config.err,
                     "Stage view: port %u could not be opened (%s: %s); port 80 is served as "
                     "usual\n",
                     static_cast<unsigned>(options->port), step_word(opened.failed_step),
                     opened.error_text.c_str());
        std::fflush(config.err);
        return nullptr;
    }
    const std::vector<std::string> addresses =
        options->loopback_only ? std::vector<std::string>{"127.0.0.1"} : local_ipv4_addresses();
    for (const std::string& address : addresses)
        std::fprintf(config.out, "Stage view: http://%s:%u/\n", address.c_str(),
                     static_cast<unsigned>(opened.listener->port()));
    return std::move(opened.listener);
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

    const std::unique_ptr<Listener> stage_listener = open_stage(config, sockets, profile);
    std::optional<StageServer> stage;
    if (stage_listener) stage.emplace(config, *stage_listener);
    ServingLoop(config, sockets, *opened.listener, profile, stage ? &*stage : nullptr).run();

    profile.write_string(kRunningKey, "0");
    std::fflush(config.out);
    return 0;
}

}  // namespace lyro
