// TCP sockets as the song server needs them, and as its tests and tools use
// them to talk to it: Winsock 2.2 on Windows, POSIX sockets elsewhere.
// Nothing here raises a signal: a peer that is gone shows as a failed call.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace lyro {

// What receive and send on a connection that does not block return when
// they would have to wait: try again once wait() says it is ready.
inline constexpr std::ptrdiff_t kWouldBlock = -2;

// Anything the socket layer can wait on: a connection or a listener.
class Socket {
public:
    virtual ~Socket() = default;
};

// One TCP connection, closed when destroyed.
class Connection : public Socket {
public:
    // Receives up to `size` bytes: the count received, 0 when the peer has
    // finished sending, -1 on an error or when the time limit passed, and
    // kWouldBlock when nothing has arrived on a connection that does not
    // block.
    virtual std::ptrdiff_t receive(char* buffer, std::size_t size) = 0;

    // Sends up to `size` bytes: the count sent, which may be less than
    // `size`, -1 on an error or when the time limit passed, and kWouldBlock
    // when nothing could be taken on a connection that does not block.
    virtual std::ptrdiff_t send(const char* bytes, std::size_t size) = 0;

    // Tells the peer that nothing more will be sent; receiving goes on.
    virtual void finish_sending() = 0;
};

struct Accepted {
    std::unique_ptr<Connection> connection;  // null when none was taken
    bool would_block = false;  // none was waiting: not a failure
};

class Listener : public Socket {
public:
    // Takes the next waiting connection without waiting for one. The
    // connections it hands out do not block either.
    virtual Accepted accept() = 0;

    // The port listened on (the one the system chose when 0 was asked for).
    virtual std::uint16_t port() const = 0;
};

// The steps of opening a listening socket, for telling which one failed.
enum class ListenStep { socket, setsockopt, bind, listen };

struct ListenOptions {
    std::uint16_t port = 80;      // 0: a free port of the system's choice
    bool loopback_only = false;   // 127.0.0.1 instead of every local address
    // The accepted connections send what they are given at once instead of
    // holding a small piece back until the peer acknowledges the last one:
    // for streams whose every message must arrive without delay.
    bool send_at_once = false;
};

struct ListenResult {
    std::unique_ptr<Listener> listener;  // null when a step failed
    ListenStep failed_step = ListenStep::socket;
    std::string error_text;  // the socket layer's own text for the failure
};

// One socket to wait on, what for, and what it turned out ready for. A
// socket that failed or whose peer is gone shows as ready for both: the
// next receive or send tells what happened.
struct WaitItem {
    Socket* socket = nullptr;  // one of this layer's listeners or connections
    bool want_read = false;    // data, an end, or a connection to accept
    bool want_write = false;   // room to send
    bool readable = false;
    bool writable = false;
};

class SocketLayer {
public:
    virtual ~SocketLayer() = default;

    // 0 when the layer started, otherwise the code its start returned.
    virtual int startup_error() const = 0;

    // A socket listening on the given port with the system's largest
    // backlog, so that connections arriving faster than they are taken
    // wait in its queue.
    virtual ListenResult listen(const ListenOptions& options) = 0;

    // Waits at most `limit` (forever when negative) until one of `items` is
    // ready, and marks each with what it is ready for: the number ready, 0
    // when the time passed, -1 when waiting itself failed.
    virtual int wait(std::span<WaitItem> items, std::chrono::milliseconds limit) = 0;
};

// The system's sockets, started (Winsock 2.2) for the owner's lifetime.
// Natively the process may then hold several thousand sockets at once.
std::unique_ptr<SocketLayer> open_system_sockets();

// The client's side of a connection, for tests and tools.
class ClientConnection : public Connection {
public:
    // Closes at once with a reset instead of an orderly end.
    virtual void reset() = 0;
};

// A connection to 127.0.0.1:`port` with the given time limit on every
// receive and send; null when it could not be made. Needs a SocketLayer
// alive on Windows.
std::unique_ptr<ClientConnection> connect_loopback(std::uint16_t port,
                                                   std::chrono::milliseconds io_timeout);

}  // namespace lyro
