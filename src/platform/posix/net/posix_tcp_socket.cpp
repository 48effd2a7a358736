#include "platform/posix/net/posix_tcp_socket.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace volmara {

struct PosixTcpSocket::Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = AF_UNSPEC;
};

namespace {

struct Lookup {
    std::vector<PosixTcpSocket::Address> found;
};

std::vector<PosixTcpSocket::Address> lookUp(const std::string& host, std::int32_t port)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* list = nullptr;
    const auto service = std::to_string(port);
    std::vector<PosixTcpSocket::Address> found;
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &list) != 0)
        return found;
    for (auto* ai = list; ai; ai = ai->ai_next) {
        if (ai->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        PosixTcpSocket::Address address;
        std::memcpy(&address.storage, ai->ai_addr, ai->ai_addrlen);
        address.length = ai->ai_addrlen;
        address.family = ai->ai_family;
        found.push_back(address);
    }
    ::freeaddrinfo(list);
    return found;
}

} // namespace

PosixTcpSocket::PosixTcpSocket(EventLoop& loop, IoWorkers& io) : TcpSocket(loop), io_(io) {}

PosixTcpSocket::~PosixTcpSocket() { Close(); }

void PosixTcpSocket::Connect(const std::string& host, std::int32_t port)
{
    Close();
    link_ = std::make_shared<Link>(Link{this});
    if (host.empty() || port < 1 || port > 65535) {
        state_ = SocketState::Error;
        signalActivity();
        return;
    }
    state_ = SocketState::ResolvingHost;
    auto lookup = std::make_shared<Lookup>();
    IoWorkers::Job job;
    job.key = "name lookup " + host;
    job.bound = lookupBound;
    job.work = [lookup, host, port] { lookup->found = lookUp(host, port); };
    job.done = [lookup, link = link_](IoOutcome outcome) {
        if (!link->socket)
            return; // closed, or another connection started meanwhile
        link->socket->resolved(outcome == IoOutcome::Answered ? std::move(lookup->found) : std::vector<Address>{});
    };
    io_.submit(std::move(job));
}

void PosixTcpSocket::resolved(std::vector<Address> addresses)
{
    addresses_ = std::move(addresses);
    nextAddress_ = 0;
    tryNextAddress();
}

void PosixTcpSocket::tryNextAddress()
{
    while (nextAddress_ < addresses_.size()) {
        const auto& address = addresses_[nextAddress_++];
        fd_ = ::socket(address.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd_ < 0)
            continue;
        if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0) {
            state_ = SocketState::Connected;
            updateWatches();
            signalActivity();
            return;
        }
        if (errno == EINPROGRESS) {
            state_ = SocketState::Connecting;
            updateWatches();
            return;
        }
        closeDescriptor();
    }
    fail("no address of the host took the connection");
}

void PosixTcpSocket::onConnectReady()
{
    int error = 0;
    socklen_t length = sizeof(error);
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == EINPROGRESS || error == EALREADY)
        return;
    if (error != 0) {
        // Refused or unreachable: the next address, or the failure at once.
        closeDescriptor();
        tryNextAddress();
        return;
    }
    state_ = SocketState::Connected;
    updateWatches();
    flush();
    signalActivity();
}

void PosixTcpSocket::onReadable()
{
    bool changed = false;
    char chunk[16384];
    while (inbox_.size() < inboxLimit) {
        const auto n = ::recv(fd_, chunk, sizeof(chunk), MSG_DONTWAIT);
        if (n > 0) {
            changed = true;
            if (!take(std::string_view(chunk, static_cast<std::size_t>(n))))
                return; // the encryption failed: the connection is closed and the waiter told
            continue;
        }
        if (n == 0) {
            changed = true;
            peerClosed_ = true;
            if (tls_) {
                tls_->receivedEnd();
                if (!pumpTls())
                    return;
            }
            break;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) {
            fail(std::strerror(errno));
            return;
        }
        break;
    }
    if (peerClosed_) {
        peerEnded();
        if (fd_ < 0)
            return;
    }
    updateWatches();
    if (changed)
        signalActivity();
}

bool PosixTcpSocket::take(std::string_view bytes)
{
    if (tls_) {
        tls_->received(bytes);
        return pumpTls();
    }
    // Between the switch and the session nothing the server says can belong to the encrypted
    // conversation: a server that talks there is not heard.
    if (tlsState_ == TlsState::Off)
        inbox_.append(bytes);
    return true;
}

void PosixTcpSocket::peerEnded()
{
    if (tlsState_ == TlsState::Handshaking) {
        fail("the server closed the connection during the handshake");
        return;
    }
    state_ = SocketState::Closing;
}

void PosixTcpSocket::StartTls(const std::string& serverName)
{
    if (tlsState_ != TlsState::Off)
        return;
    if (state_ != SocketState::Connected) {
        tlsState_ = TlsState::Broken;
        tlsError_ = "no connection to encrypt";
        signalActivity();
        return;
    }
    // What was received before the switch came in the clear: none of it may pass for the
    // server's encrypted words.
    inbox_.clear();
    tlsState_ = TlsState::Handshaking;
    struct Loaded {
        std::shared_ptr<const TlsTrust> trust;
        std::string error;
    };
    auto loaded = std::make_shared<Loaded>();
    IoWorkers::Job job;
    job.key = "trusted authorities";
    job.bound = trustBound;
    job.work = [loaded] { loaded->trust = TlsTrust::load(loaded->error); };
    job.done = [loaded, link = link_, serverName](IoOutcome outcome) {
        if (!link->socket)
            return; // closed, or another connection started meanwhile
        if (outcome == IoOutcome::Answered)
            link->socket->trustLoaded(std::move(loaded->trust), loaded->error, serverName);
        else
            link->socket->trustLoaded(nullptr, "the trusted authorities could not be read in time", serverName);
    };
    io_.submit(std::move(job));
}

void PosixTcpSocket::trustLoaded(std::shared_ptr<const TlsTrust> trust, const std::string& error,
                                 const std::string& serverName)
{
    if (tlsState_ != TlsState::Handshaking || fd_ < 0)
        return;
    if (!trust) {
        fail(error);
        return;
    }
    tls_ = std::make_unique<TlsSession>(std::move(trust), serverName);
    tls_->write(std::exchange(beforeSession_, {}));
    pumpTls();
}

bool PosixTcpSocket::pumpTls()
{
    // Everything the session can decrypt now: it was fed at most one chunk past the inbox's limit.
    const auto progress = tls_->advance(inbox_);
    outbox_ += tls_->takeOutgoing();
    switch (progress) {
    case TlsSession::Progress::Handshaking:
        break;
    case TlsSession::Progress::Secure:
        if (tlsState_ == TlsState::Handshaking) {
            tlsState_ = TlsState::Secure;
            signalActivity();
        }
        // The server's close_notify ends its side as a closed connection does.
        if (tls_->ended())
            peerClosed_ = true;
        break;
    case TlsSession::Progress::Untrusted:
    case TlsSession::Progress::Broken:
        // The alert that tells the server why goes with the connection's last bytes, if the
        // socket takes them at once.
        if (fd_ >= 0 && outboxSent_ < outbox_.size())
            (void)::send(fd_, outbox_.data() + outboxSent_, outbox_.size() - outboxSent_, MSG_NOSIGNAL | MSG_DONTWAIT);
        const auto why = tls_->error();
        fail(why, progress == TlsSession::Progress::Untrusted ? TlsState::Untrusted : TlsState::Broken);
        return false;
    }
    flush();
    return fd_ >= 0;
}

void PosixTcpSocket::onWritable()
{
    if (state_ == SocketState::Connecting) {
        onConnectReady();
        return;
    }
    flush();
}

void PosixTcpSocket::flush()
{
    while (fd_ >= 0 && outboxSent_ < outbox_.size()) {
        const auto n = ::send(fd_, outbox_.data() + outboxSent_, outbox_.size() - outboxSent_, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            outboxSent_ += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        fail(n < 0 ? std::strerror(errno) : "the connection took no more bytes");
        return;
    }
    if (outboxSent_ == outbox_.size()) {
        outbox_.clear();
        outboxSent_ = 0;
    }
    updateWatches();
}

std::string PosixTcpSocket::GetData()
{
    auto data = std::exchange(inbox_, {});
    updateWatches(); // reading resumes when it had paused on a full inbox
    return data;
}

void PosixTcpSocket::SendData(std::string_view bytes)
{
    if (state_ != SocketState::Connected || bytes.empty())
        return;
    if (tlsState_ == TlsState::Off) {
        outbox_.append(bytes);
        flush();
        return;
    }
    if (!tls_) {
        beforeSession_.append(bytes);
        return;
    }
    tls_->write(bytes);
    pumpTls();
}

void PosixTcpSocket::fail(const std::string& why, TlsState tls)
{
    // A connection that breaks while it is encrypted (or becoming so) breaks its encryption.
    if (tlsState_ == TlsState::Handshaking || tlsState_ == TlsState::Secure) {
        tlsState_ = tls;
        tlsError_ = why;
    }
    closeDescriptor();
    state_ = SocketState::Error;
    signalActivity();
}

void PosixTcpSocket::Close()
{
    if (link_) {
        link_->socket = nullptr;
        link_.reset();
    }
    closeDescriptor();
    addresses_.clear();
    nextAddress_ = 0;
    inbox_.clear();
    outbox_.clear();
    outboxSent_ = 0;
    peerClosed_ = false;
    tls_.reset();
    tlsState_ = TlsState::Off;
    tlsError_.clear();
    beforeSession_.clear();
    state_ = SocketState::Closed;
}

void PosixTcpSocket::closeDescriptor()
{
    // The watches end before the descriptor they watch is gone.
    tls_.reset();
    readWatch_.reset();
    writeWatch_.reset();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void PosixTcpSocket::updateWatches()
{
    const bool open = fd_ >= 0;
    const bool connected = state_ == SocketState::Connected || state_ == SocketState::Closing;
    const bool wantRead = open && connected && !peerClosed_ && inbox_.size() < inboxLimit;
    const bool wantWrite = open && (state_ == SocketState::Connecting || (connected && outboxSent_ < outbox_.size()));
    if (wantRead && !readWatch_)
        readWatch_ = loop().watchFd(fd_, FdInterest::Readable, [this] { onReadable(); });
    else if (!wantRead)
        readWatch_.reset();
    if (wantWrite && !writeWatch_)
        writeWatch_ = loop().watchFd(fd_, FdInterest::Writable, [this] { onWritable(); });
    else if (!wantWrite)
        writeWatch_.reset();
}

} // namespace volmara
