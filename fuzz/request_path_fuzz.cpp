// songserv's request path on arbitrary bytes, split at arbitrary points:
// the serving loop and each connection's life, as they serve real
// sockets, over connections in memory whose requests, pieces, ends and
// failures the input chooses. Every client gets the page whole or a part
// of it, or nothing when its request never ended; none holds up the rest;
// and the server always comes to its orderly stop.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "server/client_session.h"
#include "server/song_server.h"
#include "tests/server/http_client.h"
#include "tests/server/scripted_profile.h"
#include "tests/server/socket_fakes.h"

namespace {

using namespace lyro;

std::size_t piece_size(FuzzedDataProvider& in) {
    const auto n = in.ConsumeIntegralInRange<std::size_t>(0, 70);
    return n == 0 ? SIZE_MAX : n;
}

std::shared_ptr<test::FakePeer> add_peer(FuzzedDataProvider& in, test::FakeListener& listener) {
    auto peer = listener.add_peer(in.ConsumeRandomLengthString(400));
    peer->receive_piece = piece_size(in);
    peer->send_piece = piece_size(in);
    peer->ends = in.ConsumeBool();
    peer->takes = in.ConsumeIntegralInRange(0, 7) != 0;
    if (in.ConsumeIntegralInRange(0, 7) == 0) peer->fail_after = in.ConsumeIntegralInRange(0, 300);
    return peer;
}

// Whether the server had the whole request: its header ended, the request
// reached the most the server keeps, or the client finished sending.
bool request_complete(const test::FakePeer& peer) {
    const std::string_view r(peer.request);
    return peer.ends || r.substr(0, kRequestMax).find("\n\n") != std::string_view::npos ||
           r.substr(0, kRequestMax).find("\n\r\n") != std::string_view::npos ||
           r.size() >= kRequestMax;
}

void check_peer(const test::FakePeer& peer, const std::string& response) {
    fuzz::require(peer.closed, "every connection is closed in the end");
    fuzz::require(response.compare(0, peer.received.size(), peer.received) == 0,
                  "a client gets the response or a beginning of it");
    // Taken while the server was full: refused, unread and unanswered.
    const bool refused = peer.receives == 0;
    if (refused || !request_complete(peer))
        fuzz::require(peer.received.empty(), "an unfinished request gets no answer");
    else if (peer.takes && peer.fail_after == SIZE_MAX)
        fuzz::require(peer.received == response, "a client that reads gets the whole response");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static std::FILE* const console = std::fopen("/dev/null", "wb");
    ServerConfig config;
    config.out = config.err = console;
    config.page_path = fuzz::scratch().file("index.html");
    config.deadline = std::chrono::milliseconds(in.ConsumeIntegralInRange(1, 5000));
    config.close_wait = std::chrono::milliseconds(in.ConsumeIntegralInRange(0, 500));
    config.connection_limit = in.ConsumeIntegralInRange<std::size_t>(1, 8);
    const std::string page = in.ConsumeRandomLengthString(300);
    fuzz::write_input("index.html", page);

    test::FakeSockets sockets;
    config.clock = sockets.clock();
    std::vector<std::shared_ptr<test::FakePeer>> peers;
    const int count = in.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < count; ++i) peers.push_back(add_peer(in, sockets.listener));

    // When the server has nothing to do, one more connection stops it (and
    // another, if the server was full and refused that one).
    test::ScriptedProfile profile;
    std::shared_ptr<test::FakePeer> last;
    sockets.idle_limit = std::chrono::minutes(1);
    sockets.on_idle = [&] {
        if (!last || (last->closed && last->receives == 0))
            last = sockets.listener.add_peer("GET / HTTP/1.0\r\n\r\n");
    };
    profile.on_read = [&](int) {
        if (last && last->receives > 0) profile.memory.set_text("[LYROVANT]\r\nTERMINATE=1\r\n");
    };
    fuzz::require(run_song_server(config, sockets, profile) == 0, "the server stops in order");
    const std::string response = test::page_response(page);
    for (const auto& peer : peers) check_peer(*peer, response);
    return 0;
}
