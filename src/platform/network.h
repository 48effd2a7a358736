#pragma once

#include "platform/event_loop.h"

#include <coroutine>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace volmara {

class IoWorkers;

// The states a TCP client reports, by their numbers: the mail conversation tests 0 and 7.
enum class SocketState : int {
    Closed = 0,
    ResolvingHost = 4,
    Connecting = 6,
    Connected = 7,
    Closing = 8, // the peer has closed its side
    Error = 9,   // refused, unreachable, reset, or the name did not resolve
};

// How far a connection's encryption has come. Untrusted and Broken close the connection.
enum class TlsState {
    Off,         // plain text
    Handshaking, // StartTls was called; nothing of what is sent meanwhile leaves before it ends
    Secure,      // the server proved its name: everything goes encrypted from here on
    Untrusted,   // the server's certificate did not verify against the trusted authorities or its name
    Broken,      // the handshake or the encrypted stream failed otherwise (a reset, a protocol error)
};

// One outgoing TCP connection with the surface the mail conversation expects: State, Connect,
// GetData, SendData, Close. Connect and SendData start work and return at once; a task learns
// of progress by awaiting activity(), which the socket's own readiness resumes (never a poll).
class TcpSocket {
public:
    explicit TcpSocket(EventLoop& loop) : loop_(loop) {}
    virtual ~TcpSocket() = default;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    virtual SocketState State() const = 0;
    // Looks the host up (on the I/O workers) and connects; State() follows the progress.
    virtual void Connect(const std::string& host, std::int32_t port) = 0;
    // Everything received and not read yet; empty when nothing is waiting.
    virtual std::string GetData() = 0;
    // Queues the bytes; they go out as the peer takes them. Ignored unless connected.
    virtual void SendData(std::string_view bytes) = 0;
    virtual void Close() = 0;

    // Turns the connection into TLS from the next byte on: the server's certificate must chain to
    // the system's trusted authorities and name `serverName` (a host name, or an IP address). Only
    // on a connected socket with nothing unread. tlsState() follows; activity() resumes at its
    // changes. Close() ends the encryption with the connection.
    virtual void StartTls(const std::string& serverName) = 0;
    virtual TlsState tlsState() const = 0;
    // Why the encryption failed (Untrusted, Broken); empty otherwise.
    virtual std::string tlsError() const = 0;

    class ActivityAwaiter;
    // co_await socket.activity(): resumes, through the loop, at the next change on the socket (the
    // connection made or failed, data, the peer closing, an error) or at wake().
    ActivityAwaiter activity();
    // Resumes the task waiting on activity(), if any: how a time-out ends a wait.
    void wake() { signalActivity(); }

protected:
    void signalActivity()
    {
        if (!waiter_)
            return;
        auto handle = std::exchange(waiter_, {});
        loop_.post([handle, alive = std::exchange(waiterAlive_, {})] {
            if (*alive)
                handle.resume();
        });
    }
    EventLoop& loop() { return loop_; }

private:
    EventLoop& loop_;
    std::coroutine_handle<> waiter_;
    // Cleared when the waiting frame goes away (shut-down) before its resumption runs.
    std::shared_ptr<bool> waiterAlive_;
};

class TcpSocket::ActivityAwaiter {
public:
    explicit ActivityAwaiter(TcpSocket& socket) : socket_(socket) {}
    ActivityAwaiter(ActivityAwaiter&&) = default;
    ~ActivityAwaiter()
    {
        if (alive_)
            *alive_ = false;
    }
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle)
    {
        alive_ = std::make_shared<bool>(true);
        socket_.waiter_ = handle;
        socket_.waiterAlive_ = alive_;
    }
    void await_resume() const noexcept {}

private:
    TcpSocket& socket_;
    std::shared_ptr<bool> alive_;
};

inline TcpSocket::ActivityAwaiter TcpSocket::activity() { return ActivityAwaiter(*this); }

// Outgoing TCP connections (the mail conversation). Name lookups run on the I/O workers.
class Network {
public:
    virtual ~Network() = default;
    virtual std::unique_ptr<TcpSocket> createSocket(EventLoop& loop, IoWorkers& io) = 0;
};

} // namespace volmara
