// TCP sockets as the song server needs them, and as its tests and tools use
// them to talk to it: Winsock 2.2 on Windows, POSIX sockets elsewhere.
// Nothing here raises a signal: a peer that is gone shows as a failed call.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lyro {

// One TCP connection, closed when destroyed.
class Connection {
public:
    virtual ~Connection() = default;

    // Receives up to `size` bytes: the count received, 0 when the peer has
    // finished sending, -1 on an error or when the time limit passed.
    virtual std::ptrdiff_t receive(char* buffer, std::size_t size) = 0;

    // Sends up to `size` bytes: the count sent, which may be less than
    // `size`, or -1 on an error or when the time limit passed.
    virtual std::ptrdiff_t send(const char* bytes, std::size_t size) = 0;

    // Tells the peer that nothing more will be sent; receiving goes on.
    virtual void finish_sending() = 0;

    // Waits at most `limit` until a receive would not block: bytes have
    // arrived, or the peer has finished or failed.
    virtual bool wait_for_data(std::chrono::milliseconds limit) = 0;
};

class Listener {
public:
    virtual ~Listener() = default;

    // Waits for the next connection; null when accepting it failed.
    virtual std::unique_ptr<Connection> accept() = 0;

    // The port listened on (the one the system chose when 0 was asked for).
    virtual std::uint16_t port() const = 0;
};

// The steps of opening a listening socket, for telling which one failed.
enum class ListenStep { socket, setsockopt, bind, listen };

struct ListenOptions {
    std::uint16_t port = 80;      // 0: a free port of the system's choice
    bool loopback_only = false;   // 127.0.0.1 instead of every local address
    // The longest wait of one receive or send on an accepted connection.
    std::chrono::milliseconds io_timeout{5000};
};

struct ListenResult {
    std::unique_ptr<Listener> listener;  // null when a step failed
    ListenStep failed_step = ListenStep::socket;
    std::string error_text;  // the socket layer's own text for the failure
};

class SocketLayer {
public:
    virtual ~SocketLayer() = default;

    // 0 when the layer started, otherwise the code its start returned.
    virtual int startup_error() const = 0;

    // A socket listening on the given port with the system's largest
    // backlog, so that connections arriving while one is served wait.
    virtual ListenResult listen(const ListenOptions& options) = 0;
};

// The system's sockets, started (Winsock 2.2) for the owner's lifetime.
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
