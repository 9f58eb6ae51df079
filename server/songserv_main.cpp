// songserv: answers every HTTP connection on port 80 with the remote page
// index.html of the working folder, and serves the stage view on the port
// that the profile's STAGEPORT names (8080 unless it says otherwise), until
// the profile asks it to stop. Reads no command line.
#include "platform/profile_store.h"
#include "platform/sockets.h"
#include "server/server_config.h"
#include "server/song_server.h"

int main() {
    lyro::ServerConfig config;
    config.stage.port_from_profile = true;
    const auto sockets = lyro::open_system_sockets();
    const auto profile = lyro::open_user_profile(lyro::kProfileSection);
    return lyro::run_song_server(config, *sockets, *profile);
}
