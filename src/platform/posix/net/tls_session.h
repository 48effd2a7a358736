#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace volmara {

// The trusted authorities of the system (OpenSSL's default paths, so SSL_CERT_FILE and
// SSL_CERT_DIR apply) in a client context. Loading reads files: it runs on the I/O workers.
class TlsTrust {
public:
    // Null with `error` set when the context cannot be made.
    static std::shared_ptr<const TlsTrust> load(std::string& error);

    struct Context; // OpenSSL's, known to the implementation alone
    explicit TlsTrust(std::unique_ptr<Context> context);
    ~TlsTrust();
    TlsTrust(const TlsTrust&) = delete;
    TlsTrust& operator=(const TlsTrust&) = delete;

    Context& context() const { return *context_; }

private:
    std::unique_ptr<Context> context_;
};

// One TLS client session over memory buffers. The socket hands it what arrived and sends what it
// produces, so the handshake and every read and write go at the pace of the descriptor watches
// and never block. The server must present a certificate that chains to the trusted authorities
// and names the server: a host name (also sent as SNI) or an IP address.
class TlsSession {
public:
    enum class Progress { Handshaking, Secure, Untrusted, Broken };

    TlsSession(std::shared_ptr<const TlsTrust> trust, const std::string& serverName);
    ~TlsSession();
    TlsSession(const TlsSession&) = delete;
    TlsSession& operator=(const TlsSession&) = delete;

    // Bytes from the peer, as they came off the wire.
    void received(std::string_view cipher);
    // The peer closed its side: no more bytes will come.
    void receivedEnd();
    // Text to send; it waits in the session until the handshake is done.
    void write(std::string_view plain);
    // Moves the handshake on, encrypts what waits to be sent, and appends what can be decrypted
    // to `plain`.
    Progress advance(std::string& plain);
    // Bytes to put on the wire.
    std::string takeOutgoing();
    // Why the session is Untrusted or Broken.
    const std::string& error() const { return error_; }
    // The peer ended the encrypted stream (its close_notify, or the end of the connection).
    bool ended() const { return ended_; }

private:
    void handshake();
    void fail();
    bool flushPlain();
    void readPlain(std::string& plain);

    struct Handles;
    std::shared_ptr<const TlsTrust> trust_;
    std::unique_ptr<Handles> handles_;
    Progress progress_ = Progress::Handshaking;
    std::string pendingPlain_;
    std::string error_;
    bool peerGone_ = false; // the connection's end came in
    bool ended_ = false;
};

} // namespace volmara
