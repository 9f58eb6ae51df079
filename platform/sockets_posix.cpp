// POSIX sockets for the native build.
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/sockets.h"

namespace lyro {

namespace {

std::string error_text(int code) { return std::generic_category().message(code); }

// Owns one socket descriptor.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        if (this != &other) {
            close_now();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { close_now(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void close_now() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// What wait() needs of this file's sockets.
class NativeSocket {
public:
    virtual ~NativeSocket() = default;
    virtual int fd() const = 0;
};

void set_io_timeout(int fd, std::chrono::milliseconds limit) {
    timeval tv{};
    tv.tv_sec = static_cast<time_t>(limit.count() / 1000);
    tv.tv_usec = static_cast<suseconds_t>((limit.count() % 1000) * 1000);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

sockaddr_in ipv4_address(std::uint32_t host, std::uint16_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(host);
    return addr;
}

class PosixConnection final : public ClientConnection, public NativeSocket {
public:
    PosixConnection(Fd fd, bool nonblocking) : fd_(std::move(fd)), nonblocking_(nonblocking) {}

    int fd() const override { return fd_.get(); }

    std::ptrdiff_t receive(char* buffer, std::size_t size) override {
        ssize_t n = 0;
        do n = ::recv(fd_.get(), buffer, size, 0);
        while (n < 0 && errno == EINTR);
        return n < 0 ? failed() : n;
    }

    std::ptrdiff_t send(const char* bytes, std::size_t size) override {
        ssize_t n = 0;
        do n = ::send(fd_.get(), bytes, size, MSG_NOSIGNAL);
        while (n < 0 && errno == EINTR);
        return n < 0 ? failed() : n;
    }

    void finish_sending() override { ::shutdown(fd_.get(), SHUT_WR); }

    void reset() override {
        linger hard{1, 0};
        setsockopt(fd_.get(), SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
        fd_.close_now();
    }

private:
    // A blocking socket's time limit also shows as EAGAIN: only a socket
    // that does not block would have had to wait.
    std::ptrdiff_t failed() const {
        return nonblocking_ && (errno == EAGAIN || errno == EWOULDBLOCK) ? kWouldBlock : -1;
    }

    Fd fd_;
    bool nonblocking_;
};

class PosixListener final : public Listener, public NativeSocket {
public:
    PosixListener(Fd fd, bool send_at_once) : fd_(std::move(fd)), send_at_once_(send_at_once) {}

    int fd() const override { return fd_.get(); }

    Accepted accept() override {
        int c = -1;
        do c = ::accept4(fd_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        while (c < 0 && errno == EINTR);
        Accepted a;
        if (c >= 0) {
            if (send_at_once_) {
                const int on = 1;
                setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            }
            a.connection = std::make_unique<PosixConnection>(Fd(c), true);
        } else {
            a.would_block = errno == EAGAIN || errno == EWOULDBLOCK;
        }
        return a;
    }

    std::uint16_t port() const override {
        sockaddr_in addr{};
        socklen_t len = sizeof addr;
        if (getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
        return ntohs(addr.sin_port);
    }

private:
    Fd fd_;
    bool send_at_once_;
};

ListenResult failure(ListenStep step) {
    ListenResult r;
    r.failed_step = step;
    r.error_text = error_text(errno);
    return r;
}

// Many systems allow a process 1024 descriptors unless it asks for more,
// fewer than the server's connections and its files together.
void allow_many_sockets() {
    constexpr rlim_t kWanted = 8192;
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= kWanted) return;
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? kWanted : std::min(limit.rlim_max, kWanted);
    setrlimit(RLIMIT_NOFILE, &limit);
}

short poll_events(const WaitItem& item) {
    return static_cast<short>((item.want_read ? POLLIN : 0) | (item.want_write ? POLLOUT : 0));
}

class PosixSockets final : public SocketLayer {
public:
    PosixSockets() { allow_many_sockets(); }

    int startup_error() const override { return 0; }

    int wait(std::span<WaitItem> items, std::chrono::milliseconds limit) override {
        polled_.resize(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto* native = dynamic_cast<const NativeSocket*>(items[i].socket);
            polled_[i] = pollfd{native ? native->fd() : -1, poll_events(items[i]), 0};
        }
        const int timeout = limit.count() < 0 ? -1 : static_cast<int>(std::min<long long>(limit.count(), INT_MAX));
        const int n = ::poll(polled_.data(), polled_.size(), timeout);
        if (n < 0) return errno == EINTR ? 0 : -1;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const short got = polled_[i].revents;
            const bool failed = (got & (POLLERR | POLLHUP | POLLNVAL)) != 0;
            items[i].readable = items[i].want_read && (failed || (got & POLLIN));
            items[i].writable = items[i].want_write && (failed || (got & POLLOUT));
        }
        return n;
    }

    ListenResult listen(const ListenOptions& options) override {
        Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (!fd.valid()) return failure(ListenStep::socket);
        // A restarted server binds at once even while connections of the
        // previous run linger in TIME_WAIT.
        const int on = 1;
        if (setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0)
            return failure(ListenStep::setsockopt);
        const sockaddr_in addr =
            ipv4_address(options.loopback_only ? INADDR_LOOPBACK : INADDR_ANY, options.port);
        if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
            return failure(ListenStep::bind);
        if (::listen(fd.get(), SOMAXCONN) != 0) return failure(ListenStep::listen);
        ListenResult r;
        r.listener = std::make_unique<PosixListener>(std::move(fd), options.send_at_once);
        return r;
    }

private:
    std::vector<pollfd> polled_;  // storage kept from wait to wait
};

}  // namespace

std::unique_ptr<SocketLayer> open_system_sockets() { return std::make_unique<PosixSockets>(); }

std::unique_ptr<ClientConnection> connect_loopback(std::uint16_t port,
                                                   std::chrono::milliseconds io_timeout) {
    Fd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) return nullptr;
    set_io_timeout(fd.get(), io_timeout);
    const sockaddr_in addr = ipv4_address(INADDR_LOOPBACK, port);
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
        return nullptr;
    return std::make_unique<PosixConnection>(std::move(fd), false);
}

}  // namespace lyro
