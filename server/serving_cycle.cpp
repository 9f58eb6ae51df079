// The serving cycle and its console echo.
#include "server/serving_cycle.h"

#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>

#include "server/http_response.h"

namespace lyro {

namespace {

// What a client may still send after its answer before the connection is
// closed anyway.
constexpr std::size_t kDrainMax = 256 * 1024;

// The echo shows text the way C strings end: at the first zero byte.
void print_text(std::FILE* out, std::string_view bytes) {
    const auto* zero = static_cast<const char*>(std::memchr(bytes.data(), '\0', bytes.size()));
    const std::size_t n = zero ? static_cast<std::size_t>(zero - bytes.data()) : bytes.size();
    std::fwrite(bytes.data(), 1, n, out);
}

}  // namespace

std::int64_t send_whole(Connection& connection, std::string_view bytes) {
    std::int64_t sent = 0;
    while (!bytes.empty()) {
        const std::ptrdiff_t n = connection.send(bytes.data(), bytes.size());
        if (n <= 0) break;
        sent += n;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return sent == 0 && !bytes.empty() ? -1 : sent;
}

ServingCycle::ServingCycle(const ServerConfig& config, Listener& listener)
    : config_(config), listener_(listener), port_(listener.port()) {}

void ServingCycle::serve() {
    std::fprintf(config_.out, "\n\nHTTP Server waiting on port %u:", static_cast<unsigned>(port_));
    std::fflush(config_.out);

    std::unique_ptr<Connection> connection = listener_.accept();
    if (!connection) std::this_thread::sleep_for(config_.accept_retry_pause);

    const std::ptrdiff_t received =
        connection ? connection->receive(request_.data(), kRequestMax) : -1;
    echo_request(received > 0 ? static_cast<std::size_t>(received) : 0);

    // A missing or unreadable page is answered as an empty one.
    read_page(config_.page_path, page_);
    build_response(page_, response_);
    std::int64_t sent = -1;
    if (connection) {
        sent = send_whole(*connection, response_);
        connection->finish_sending();
    }
    report_sent(sent);

    if (connection) drain(*connection);
    connection.reset();
    std::fputs("Loop completed\n", config_.out);
}

void ServingCycle::echo_request(std::size_t size) {
    request_[size] = '\0';
    std::fputs("\n\n Command Received:", config_.out);
    print_text(config_.out, std::string_view(request_.data(), size));
}

void ServingCycle::report_sent(std::int64_t sent) {
    std::fputs(("\nSTATUS:" + std::to_string(sent) + "\nSent : ").c_str(), config_.out);
    print_text(config_.out, response_);
    std::fputs("\n", config_.out);
}

void ServingCycle::drain(Connection& connection) {
    // Nothing more sent yet: close at once, the usual case, and one that
    // costs the clients waiting in the queue nothing.
    if (!connection.wait_for_data(std::chrono::milliseconds(0))) return;
    const auto deadline = std::chrono::steady_clock::now() + config_.listen.io_timeout;
    std::size_t total = 0;
    while (total < kDrainMax && std::chrono::steady_clock::now() < deadline) {
        if (!connection.wait_for_data(config_.close_wait)) return;
        const std::ptrdiff_t n = connection.receive(request_.data(), request_.size());
        if (n <= 0) return;
        total += static_cast<std::size_t>(n);
    }
}

}  // namespace lyro
