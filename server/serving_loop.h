// The song server's serving loop: one thread waits on the listening socket
// and every open connection at once, and answers each connection as soon
// as its request has arrived, whatever the others do. A client that sends
// nothing, sends slowly or does not read its answer holds only its own
// connection, and only until its deadline.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/profile_store.h"
#include "platform/sockets.h"
#include "server/client_session.h"
#include "server/server_config.h"
#include "server/stage_server.h"

namespace lyro {

class ServingLoop {
public:
    // Serves connections from `listener`, and the stage view's clients
    // through `stage` when there is one; every argument must outlive the
    // loop.
    ServingLoop(const ServerConfig& config, SocketLayer& sockets, Listener& listener,
                const ProfileStore& profile, StageServer* stage = nullptr);

    // Serves until TERMINATE reads 1 after a served connection, then closes
    // every connection still open.
    void run();

private:
    std::chrono::milliseconds time_to_next_deadline(SteadyTime now) const;
    void gather_wait_items(SteadyTime now);
    bool serve_waiting_sessions(SteadyTime now);
    bool accept_waiting(SteadyTime now);
    bool advance(ClientSession& session, SteadyTime now);
    std::string response_with_page();
    bool report_served(std::string_view request, std::int64_t sent, std::string_view response);

    const ServerConfig& config_;
    SocketLayer& sockets_;
    Listener& listener_;
    const ProfileStore& profile_;
    StageServer* stage_;
    std::size_t stage_items_ = 0;  // where the stage's items begin
    std::uint16_t port_;
    std::vector<std::unique_ptr<ClientSession>> sessions_;
    std::vector<WaitItem> items_;  // the listener, one per session, then the stage's
    std::vector<char> scratch_;    // every receive lands here first
    std::string page_;             // storage kept from answer to answer
    std::string console_;          // likewise
    SteadyTime listener_rests_until_{};
};

}  // namespace lyro
