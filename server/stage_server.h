// The stage view's side of songserv: a second listening socket whose
// clients get the stage page, or the stream of songdesk's states, which it
// watches in stage.json. It runs inside the serving loop's one thread and
// wait: the loop gathers its sockets with its own and hands back what is
// ready, so nothing a stage client does can delay port 80 or the reverse.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "platform/sockets.h"
#include "server/server_config.h"
#include "server/stage_feed.h"
#include "server/stage_session.h"

namespace lyro {

class StageServer {
public:
    // `config` and `listener` must outlive the server.
    StageServer(const ServerConfig& config, Listener& listener);

    // Appends what to wait for: the listener, then one item per client.
    void gather(std::vector<WaitItem>& items, SteadyTime now) const;
    // When the server must run again even if no socket is ready.
    SteadyTime next_wake() const;
    // Moves every client on; `items` are the ones that gather appended,
    // marked by the wait.
    void serve(std::span<const WaitItem> items, SteadyTime now);

    std::size_t clients() const { return sessions_.size(); }

private:
    void accept_waiting(SteadyTime now);
    void advance(StageSession& session, SteadyTime now);
    void look_at_state(SteadyTime now);
    void offer_to_streams(SteadyTime now);

    const ServerConfig& config_;
    Listener& listener_;
    StageFeed feed_;
    std::vector<std::unique_ptr<StageSession>> sessions_;
    std::vector<char> scratch_;
    std::size_t streams_ = 0;
    SteadyTime next_look_{};
    SteadyTime listener_rests_until_{};
};

}  // namespace lyro
