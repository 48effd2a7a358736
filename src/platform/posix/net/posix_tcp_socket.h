#pragma once

#include "platform/io.h"
#include "platform/network.h"
#include "platform/posix/net/tls_session.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace volmara {

// A TCP client on a non-blocking socket. The name lookup and the loading of the trusted
// authorities run on the I/O workers; the connection, the TLS handshake, reading and writing are
// driven by descriptor watches of the event loop, so nothing here ever blocks the UI thread.
// Received bytes (decrypted under TLS) wait in an inbox for GetData (reading pauses while a
// megabyte is unread); bytes to send (encrypted under TLS) wait in an outbox until the peer
// takes them.
class PosixTcpSocket final : public TcpSocket {
public:
    static constexpr std::chrono::milliseconds lookupBound{10000};
    static constexpr std::chrono::milliseconds trustBound{10000};
    static constexpr std::size_t inboxLimit = std::size_t{1} << 20;

    PosixTcpSocket(EventLoop& loop, IoWorkers& io);
    ~PosixTcpSocket() override;

    SocketState State() const override { return state_; }
    void Connect(const std::string& host, std::int32_t port) override;
    std::string GetData() override;
    void SendData(std::string_view bytes) override;
    void Close() override;
    void StartTls(const std::string& serverName) override;
    TlsState tlsState() const override { return tlsState_; }
    std::string tlsError() const override { return tlsError_; }

    struct Address;

private:
    // Lets a lookup in flight find out whether its connection attempt still stands.
    struct Link {
        PosixTcpSocket* socket;
    };

    void resolved(std::vector<Address> addresses);
    void tryNextAddress();
    void onConnectReady();
    void onReadable();
    void onWritable();
    bool take(std::string_view bytes);
    void trustLoaded(std::shared_ptr<const TlsTrust> trust, const std::string& error, const std::string& serverName);
    bool pumpTls();
    void peerEnded();
    void flush();
    void fail(const std::string& why, TlsState tls = TlsState::Broken);
    void closeDescriptor();
    void updateWatches();

    IoWorkers& io_;
    SocketState state_ = SocketState::Closed;
    int fd_ = -1;
    bool peerClosed_ = false;
    std::vector<Address> addresses_;
    std::size_t nextAddress_ = 0;
    std::string inbox_;
    std::string outbox_;
    std::size_t outboxSent_ = 0;
    std::unique_ptr<FdWatch> readWatch_;
    std::unique_ptr<FdWatch> writeWatch_;
    std::shared_ptr<Link> link_;
    TlsState tlsState_ = TlsState::Off;
    std::string tlsError_;
    std::unique_ptr<TlsSession> tls_;
    std::string beforeSession_; // sent while the trusted authorities load
};

} // namespace volmara
