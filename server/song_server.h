// songserv's whole run: announce itself in the profile, open the listening
// socket once, serve every connection that comes and stop when the
// profile's TERMINATE key reads 1 after a served connection.
#pragma once

#include "platform/profile_store.h"
#include "platform/sockets.h"
#include "server/server_config.h"

namespace lyro {

// Runs the server until it is told to stop. Returns the exit status: 0
// after an orderly stop, 1 when the listening socket could not be opened
// (RUNNING then keeps the "1" written at start).
int run_song_server(const ServerConfig& config, SocketLayer& sockets, ProfileStore& profile);

}  // namespace lyro
