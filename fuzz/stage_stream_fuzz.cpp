// The stage port on arbitrary clients and states: requests in arbitrary
// bytes and pieces, clients that read, stall, fail or reset, and stage.json
// replaced by arbitrary bytes between the server's looks. Every answer is a
// whole HTTP answer or a beginning of one, every stream carries only whole
// events of states that were in the file, a client that takes nothing is
// let go, and nothing any client does stops the others.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "server/stage_feed.h"
#include "server/stage_http.h"
#include "server/stage_server.h"
#include "tests/server/socket_fakes.h"

namespace {

using namespace lyro;

std::size_t piece_size(FuzzedDataProvider& in) {
    const auto n = in.ConsumeIntegralInRange<std::size_t>(0, 70);
    return n == 0 ? SIZE_MAX : n;
}

std::string request_of(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0: return "GET /events HTTP/1.1\r\n\r\n";
    case 1: return "GET / HTTP/1.1\r\n\r\n";
    default: return in.ConsumeRandomLengthString(300);
    }
}

// What a stream may carry: its opening, then whole events of states that
// were in the file and keep-alive comments, the last one possibly cut.
void check_stream(std::string_view got, const std::vector<std::string>& events) {
    const std::string opening = stage_stream_opening();
    const std::size_t head = std::min(got.size(), opening.size());
    fuzz::require(got.substr(0, head) == std::string_view(opening).substr(0, head),
                  "a stream opens with its header");
    got.remove_prefix(head);
    while (!got.empty()) {
        bool matched = false;
        for (std::string_view candidate : events) {
            const std::size_t n = std::min(candidate.size(), got.size());
            if (got.substr(0, n) == candidate.substr(0, n)) {
                got.remove_prefix(n);
                matched = true;
                break;
            }
        }
        fuzz::require(matched, "a stream carries only whole events of real states");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    ServerConfig config;
    config.stage.state_path = fuzz::scratch().file("stage.json");
    config.stage.stall_limit = std::chrono::milliseconds(in.ConsumeIntegralInRange(1, 2000));
    config.stage.keep_alive = std::chrono::milliseconds(in.ConsumeIntegralInRange(1, 20000));
    config.stage.client_limit = in.ConsumeIntegralInRange<std::size_t>(1, 8);
    config.stage.state_max = in.ConsumeIntegralInRange<std::size_t>(1, 400);
    config.deadline = std::chrono::milliseconds(in.ConsumeIntegralInRange(1, 5000));
    fuzz::write_input("stage.json", "");

    test::FakeSockets sockets;
    config.clock = sockets.clock();
    std::vector<std::shared_ptr<test::FakePeer>> peers;
    const int count = in.ConsumeIntegralInRange(1, 6);
    for (int i = 0; i < count; ++i) {
        auto peer = sockets.listener.add_peer(request_of(in));
        peer->receive_piece = piece_size(in);
        peer->send_piece = piece_size(in);
        peer->ends = in.ConsumeBool();
        peer->takes = in.ConsumeIntegralInRange(0, 3) != 0;
        if (in.ConsumeIntegralInRange(0, 7) == 0) peer->fail_after = in.ConsumeIntegralInRange(0, 300);
        peers.push_back(peer);
    }

    test::ListenerRef listener(sockets.listener);
    StageServer stage(config, listener);
    std::vector<std::string> events = {":\n\n"};
    std::vector<WaitItem> items;
    for (int round = 0; round < 60; ++round) {
        if (in.ConsumeBool()) {
            const std::string state = in.ConsumeRandomLengthString(500);
            fuzz::write_input("stage.json", state);
            std::string trimmed = state;
            if (!trimmed.empty() && trimmed.size() <= config.stage.state_max)
                events.push_back(stage_event(trimmed));
        }
        items.clear();
        const SteadyTime now = config.clock();
        stage.gather(items, now);
        const SteadyTime wake = stage.next_wake();
        const auto limit = wake == SteadyTime::max()
                               ? std::chrono::milliseconds(50)
                               : std::chrono::ceil<std::chrono::milliseconds>(
                                     std::max(wake - now, SteadyTime::duration::zero()));
        try {
            sockets.wait(items, limit);
        } catch (const std::runtime_error&) {
            break;  // nothing left to do
        }
        stage.serve(items, config.clock());
    }
    for (const auto& peer : peers) {
        std::string_view got = peer->received;
        if (got.empty()) continue;
        const StageRequest request = stage_request(peer->request);
        if (request.target == StageTarget::events && !request.head) {
            check_stream(got, events);
        } else {
            const std::string answer = stage_answer(request);
            fuzz::require(std::string_view(answer).substr(0, got.size()) == got,
                          "a client gets its answer or a beginning of it");
        }
    }
    return 0;
}
