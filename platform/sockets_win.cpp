// Winsock 2.2 sockets for the Windows build.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "platform/sockets.h"

namespace lyro {

namespace {

// Words for the failures a user can mend, for systems whose message table
// has no text for Winsock's codes (Wine's has none).
const char* known_error(int code) {
    switch (code) {
    case WSAEADDRINUSE: return "the address is already in use";
    case WSAEACCES: return "permission denied";
    case WSAEADDRNOTAVAIL: return "the address is not available";
    case WSANOTINITIALISED: return "Winsock was not started";
    case WSAENETDOWN: return "the network is down";
    case WSAEMFILE: return "too many open sockets";
    case WSAENOBUFS: return "no buffer space available";
    default: return nullptr;
    }
}

// Winsock's own text for an error code, without the line end that
// FormatMessage puts after it.
std::string error_text(int code) {
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, text, sizeof text,
                                   nullptr);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n' || s.back() == ' ')) s.pop_back();
    if (s.empty()) {
        s = "Winsock error " + std::to_string(code);
        if (const char* words = known_error(code)) s.append(": ").append(words);
    }
    return s;
}

// Owns one socket.
class Sock {
public:
    explicit Sock(SOCKET s = INVALID_SOCKET) : s_(s) {}
    Sock(Sock&& other) noexcept : s_(std::exchange(other.s_, INVALID_SOCKET)) {}
    Sock& operator=(Sock&& other) noexcept {
        if (this != &other) {
            close_now();
            s_ = std::exchange(other.s_, INVALID_SOCKET);
        }
        return *this;
    }
    Sock(const Sock&) = delete;
    Sock& operator=(const Sock&) = delete;
    ~Sock() { close_now(); }

    SOCKET get() const { return s_; }
    bool valid() const { return s_ != INVALID_SOCKET; }
    void close_now() {
        if (s_ != INVALID_SOCKET) closesocket(s_);
        s_ = INVALID_SOCKET;
    }

private:
    SOCKET s_;
};

// What wait() needs of this file's sockets.
class NativeSocket {
public:
    virtual ~NativeSocket() = default;
    virtual SOCKET handle() const = 0;
};

// A new TCP socket that programs started from this one do not inherit.
Sock new_tcp_socket() {
    Sock s(::socket(AF_INET, SOCK_STREAM, 0));
    if (s.valid()) SetHandleInformation(reinterpret_cast<HANDLE>(s.get()), HANDLE_FLAG_INHERIT, 0);
    return s;
}

void set_io_timeout(SOCKET s, std::chrono::milliseconds limit) {
    const DWORD ms = static_cast<DWORD>(limit.count());
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
}

sockaddr_in ipv4_address(u_long host, std::uint16_t port) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(host);
    return addr;
}

int chunk(std::size_t size) { return static_cast<int>(std::min<std::size_t>(size, INT_MAX)); }

// A failed call's result: kWouldBlock when a socket that does not block
// would have had to wait (a blocking one's time limit is WSAETIMEDOUT).
std::ptrdiff_t failed() { return WSAGetLastError() == WSAEWOULDBLOCK ? kWouldBlock : -1; }

class WinConnection final : public ClientConnection, public NativeSocket {
public:
    explicit WinConnection(Sock s) : s_(std::move(s)) {}

    SOCKET handle() const override { return s_.get(); }

    std::ptrdiff_t receive(char* buffer, std::size_t size) override {
        const int n = ::recv(s_.get(), buffer, chunk(size), 0);
        return n == SOCKET_ERROR ? failed() : n;
    }

    std::ptrdiff_t send(const char* bytes, std::size_t size) override {
        const int n = ::send(s_.get(), bytes, chunk(size), 0);
        return n == SOCKET_ERROR ? failed() : n;
    }

    void finish_sending() override { ::shutdown(s_.get(), SD_SEND); }

    void reset() override {
        linger hard{1, 0};
        setsockopt(s_.get(), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard),
                   sizeof hard);
        s_.close_now();
    }

private:
    Sock s_;
};

class WinListener final : public Listener, public NativeSocket {
public:
    WinListener(Sock s, bool send_at_once) : s_(std::move(s)), send_at_once_(send_at_once) {}

    SOCKET handle() const override { return s_.get(); }

    Accepted accept() override {
        Accepted a;
        Sock c(::accept(s_.get(), nullptr, nullptr));
        if (!c.valid()) {
            a.would_block = WSAGetLastError() == WSAEWOULDBLOCK;
            return a;
        }
        SetHandleInformation(reinterpret_cast<HANDLE>(c.get()), HANDLE_FLAG_INHERIT, 0);
        // Said again rather than trusted to come from the listener.
        u_long nonblocking = 1;
        ioctlsocket(c.get(), FIONBIO, &nonblocking);
        if (send_at_once_) {
            const BOOL on = TRUE;
            setsockopt(c.get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                       sizeof on);
        }
        a.connection = std::make_unique<WinConnection>(std::move(c));
        return a;
    }

    std::uint16_t port() const override {
        sockaddr_in addr{};
        int len = sizeof addr;
        if (getsockname(s_.get(), reinterpret_cast<sockaddr*>(&addr), &len) != 0) return 0;
        return ntohs(addr.sin_port);
    }

private:
    Sock s_;
    bool send_at_once_;
};

ListenResult failure(ListenStep step) {
    ListenResult r;
    r.failed_step = step;
    r.error_text = error_text(WSAGetLastError());
    return r;
}

class WinSockets final : public SocketLayer {
public:
    WinSockets() {
        WSADATA data;
        startup_error_ = WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinSockets() override {
        if (startup_error_ == 0) WSACleanup();
    }
    WinSockets(const WinSockets&) = delete;
    WinSockets& operator=(const WinSockets&) = delete;

    int startup_error() const override { return startup_error_; }

    // WSAPoll, not select: select's sets hold 64 sockets.
    int wait(std::span<WaitItem> items, std::chrono::milliseconds limit) override {
        polled_.resize(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto* native = dynamic_cast<const NativeSocket*>(items[i].socket);
            const SHORT events = static_cast<SHORT>((items[i].want_read ? POLLRDNORM : 0) |
                                                    (items[i].want_write ? POLLWRNORM : 0));
            polled_[i] = WSAPOLLFD{native ? native->handle() : INVALID_SOCKET, events, 0};
        }
        const INT timeout =
            limit.count() < 0 ? -1 : static_cast<INT>(std::min<long long>(limit.count(), INT_MAX));
        const int n = ::WSAPoll(polled_.data(), static_cast<ULONG>(polled_.size()), timeout);
        if (n == SOCKET_ERROR) return -1;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const SHORT got = polled_[i].revents;
            const bool failed = (got & (POLLERR | POLLHUP | POLLNVAL)) != 0;
            items[i].readable = items[i].want_read && (failed || (got & POLLRDNORM));
            items[i].writable = items[i].want_write && (failed || (got & POLLWRNORM));
        }
        return n;
    }

    ListenResult listen(const ListenOptions& options) override {
        Sock s = new_tcp_socket();
        if (!s.valid()) return failure(ListenStep::socket);
        // Windows lets a socket with SO_REUSEADDR take over a port that
        // another program listens on; exclusive use makes a taken port
        // fail to bind instead, as it does on other systems.
        const BOOL on = TRUE;
        if (setsockopt(s.get(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                       reinterpret_cast<const char*>(&on), sizeof on) != 0)
            return failure(ListenStep::setsockopt);
        const sockaddr_in addr =
            ipv4_address(options.loopback_only ? INADDR_LOOPBACK : INADDR_ANY, options.port);
        if (::bind(s.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
            return failure(ListenStep::bind);
        if (::listen(s.get(), SOMAXCONN) != 0) return failure(ListenStep::listen);
        u_long nonblocking = 1;
        if (ioctlsocket(s.get(), FIONBIO, &nonblocking) != 0) return failure(ListenStep::listen);
        ListenResult r;
        r.listener = std::make_unique<WinListener>(std::move(s), options.send_at_once);
        return r;
    }

private:
    int startup_error_ = 0;
    std::vector<WSAPOLLFD> polled_;  // storage kept from wait to wait
};

}  // namespace

std::unique_ptr<SocketLayer> open_system_sockets() { return std::make_unique<WinSockets>(); }

std::unique_ptr<ClientConnection> connect_loopback(std::uint16_t port,
                                                   std::chrono::milliseconds io_timeout) {
    Sock s = new_tcp_socket();
    if (!s.valid()) return nullptr;
    set_io_timeout(s.get(), io_timeout);
    const sockaddr_in addr = ipv4_address(INADDR_LOOPBACK, port);
    if (::connect(s.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0)
        return nullptr;
    return std::make_unique<WinConnection>(std::move(s));
}

}  // namespace lyro
