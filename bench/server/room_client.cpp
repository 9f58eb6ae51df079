// A room of tablets against one server on 127.0.0.1: each tablet fetches the
// page every 4 s on a new connection, their first fetches spread evenly
// over the first 4 s, while other clients hold connections open and send
// nothing (each opens a new one as soon as the server closes its last).
//
//   room_client PORT SECONDS IDLE [TABLETS]
//
// Prints "RESULT fetches failed p50_us p99_us max_us idle_reopened". A
// fetch fails when it cannot connect, or its answer does not arrive whole
// (status line, header, and Content-Length bytes of body) within 10 s.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/sockets.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kPeriod = 4000ms;
constexpr std::string_view kRequest =
    "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: tablet\r\nAccept: */*\r\n\r\n";

// The body length the header announces, whatever the field's case; -1
// while the header has not all arrived or has no length.
long long announced_length(std::string_view reply, std::size_t& body_at) {
    const std::size_t end = reply.find("\r\n\r\n");
    if (end == std::string_view::npos) return -1;
    body_at = end + 4;
    std::string header(reply.substr(0, end));
    for (char& c : header) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::size_t at = header.find("\r\ncontent-length:");
    if (at == std::string::npos) return -1;
    std::size_t from = at + 17;
    while (from < header.size() && header[from] == ' ') ++from;
    long long n = -1;
    std::from_chars(header.data() + from, header.data() + header.size(), n);
    return n;
}

// One fetch: whether its answer arrived whole.
bool fetch_page(std::uint16_t port) {
    auto c = lyro::connect_loopback(port, 10s);
    if (!c) return false;
    for (std::string_view rest = kRequest; !rest.empty();) {
        const auto n = c->send(rest.data(), rest.size());
        if (n <= 0) return false;
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    std::string reply;
    char buffer[16 * 1024];
    const auto give_up = Clock::now() + 10s;
    while (Clock::now() < give_up) {
        std::size_t body_at = 0;
        const long long length = announced_length(reply, body_at);
        if (length >= 0 && reply.size() >= body_at + static_cast<std::size_t>(length))
            return reply.rfind("HTTP/1.1 200 ", 0) == 0;
        const auto n = c->receive(buffer, sizeof buffer);
        if (n <= 0) return false;
        reply.append(buffer, static_cast<std::size_t>(n));
    }
    return false;
}

struct Results {
    std::mutex mutex;
    std::vector<long long> micros;  // of the fetches that arrived whole
    int failed = 0;
};

void tablet(std::uint16_t port, Clock::time_point start, Clock::time_point end,
            Clock::duration offset, Results& results) {
    for (auto next = start + offset; next < end; next += kPeriod) {
        std::this_thread::sleep_until(next);
        const auto began = Clock::now();
        const bool whole = fetch_page(port);
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - began);
        std::lock_guard lock(results.mutex);
        if (whole)
            results.micros.push_back(took.count());
        else
            ++results.failed;
    }
}

// Holds `count` connections that send nothing, opening a new one whenever
// the server closes one. Returns how many were opened again.
int hold_idle(lyro::SocketLayer& sockets, std::uint16_t port, int count, Clock::time_point end) {
    std::vector<std::unique_ptr<lyro::ClientConnection>> idle;
    for (int i = 0; i < count; ++i) idle.push_back(lyro::connect_loopback(port, 1s));
    int reopened = 0;
    std::vector<lyro::WaitItem> items;
    char buffer[4096];
    while (Clock::now() < end) {
        items.clear();
        for (auto& c : idle) items.push_back({c.get(), c != nullptr, false, false, false});
        sockets.wait(items, 50ms);
        for (std::size_t i = 0; i < idle.size(); ++i) {
            if (idle[i] && !items[i].readable) continue;
            // The server ended it (or it never opened): a new one.
            if (idle[i] && idle[i]->receive(buffer, sizeof buffer) > 0) continue;
            idle[i] = lyro::connect_loopback(port, 1s);
            ++reopened;
        }
    }
    return reopened;
}

long long percentile(std::vector<long long>& v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1) + 0.5);
    return v[std::min(at, v.size() - 1)];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: room_client PORT SECONDS IDLE [TABLETS]\n", stderr);
        return 2;
    }
    const auto port = static_cast<std::uint16_t>(std::atoi(argv[1]));
    const auto seconds = std::chrono::seconds(std::atoi(argv[2]));
    const int idle = std::atoi(argv[3]);
    const int tablets = argc > 4 ? std::atoi(argv[4]) : 30;
    const auto sockets = lyro::open_system_sockets();

    const auto start = Clock::now() + 200ms;
    const auto end = start + seconds;
    Results results;
    std::atomic<int> reopened = 0;
    std::thread holder([&] { reopened = hold_idle(*sockets, port, idle, end + 1s); });
    std::this_thread::sleep_until(start);
    std::vector<std::thread> room;
    for (int i = 0; i < tablets; ++i)
        room.emplace_back(tablet, port, start, end, kPeriod * i / tablets, std::ref(results));
    for (auto& t : room) t.join();
    holder.join();
    const long long p50 = percentile(results.micros, 0.50);
    const long long p99 = percentile(results.micros, 0.99);
    const long long max = results.micros.empty() ? 0 : results.micros.back();
    std::printf("RESULT %zu %d %lld %lld %lld %d\n", results.micros.size() + results.failed,
                results.failed, p50, p99, max, reopened.load());
    return 0;
}
